#include <cstdio>

#include "base/ini_file.h"
#include "cli/command_words.h"
#include "cli/json_output.h"
#include "cli/open_verdict.h"
#include "cli/serial_ports.h"

namespace q93::ctl {
namespace {

std::string joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : ",") + item;
    return text;
}

Json holdersJson(const std::vector<DeviceHolder>& holders) {
    Json list = Json::array();
    for (const DeviceHolder& holder : holders)
        list.push_back({{"pid", holder.pid}, {"command", holder.command}});
    return list;
}

std::string holdersText(const std::vector<DeviceHolder>& holders) {
    std::vector<std::string> items;
    for (const DeviceHolder& holder : holders)
        items.push_back(std::to_string(holder.pid) + "(" + holder.command + ")");
    return joined(items);
}

}  // namespace

int runPortsCommand(const Arguments& args) {
    bool json = false;
    std::string error;
    if (!takeJsonFlag(args, "ports", json, &error))
        return usageError(error);

    const HeldDevices held = heldDevices();
    Json list = Json::array();
    for (const SerialPort& port : findSerialPorts()) {
        const std::vector<DeviceHolder> holders = holdersOf(held, port.device);
        const OpenVerdict verdict = tryOpen(port.device, holders);
        if (json) {
            Json entry = {{"device", port.device},
                          {"stableNames", port.stableNames},
                          {"comPorts", port.comPorts},
                          {"canOpen", verdict.canOpen}};
            if (!verdict.canOpen) {
                entry["reason"] = verdict.reason;
                entry["fix"] = verdict.fix;
            }
            entry["heldBy"] = holdersJson(holders);
            list.push_back(entry);
            continue;
        }
        std::string line = port.device;
        if (!port.stableNames.empty())
            line += " " + plainPair("stable", joined(port.stableNames));
        if (!port.comPorts.empty())
            line += " " + plainPair("com", joined(port.comPorts));
        line += std::string(" open=") + (verdict.canOpen ? "yes" : "no");
        if (!verdict.canOpen) {
            line += " " + plainPair("reason", verdict.reason) + " " + plainPair("fix", verdict.fix);
        }
        if (!holders.empty())
            line += " " + plainPair("heldBy", holdersText(holders));
        std::printf("%s\n", line.c_str());
    }
    if (json)
        printJson({{"command", "ports"}, {"iniFile", programIniPath()}, {"ports", list}});
    return kExitSuccess;
}

}  // namespace q93::ctl
