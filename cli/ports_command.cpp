#include <cstdio>

#include "base/ini_file.h"
#include "cli/command_words.h"
#include "cli/json_output.h"
#include "cli/open_verdict.h"
#include "cli/serial_open_cause.h"
#include "cli/serial_ports.h"
#include "link/serial_settings.h"

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

Json settingsJson(const std::vector<SettingFinding>& findings) {
    Json list = Json::array();
    for (const SettingFinding& finding : findings) {
        list.push_back({{"key", finding.key},
                        {"value", finding.written},
                        {"allowed", finding.allowed},
                        {"refused", finding.refused}});
    }
    return list;
}

// What the section means for every port: a refused value fails each open however open the
// device itself is.
OpenVerdict settingsVerdict(const std::vector<SettingFinding>& findings, const std::string& ini) {
    for (const SettingFinding& finding : findings) {
        if (finding.refused) {
            return {false, finding.key + "=" + finding.written + " in [Settings]",
                    "edit [Settings] of " + ini + ": " + finding.key + " takes " + finding.allowed};
        }
    }
    return {true, "", ""};
}

}  // namespace

int runPortsCommand(const Arguments& args) {
    bool json = false;
    std::string error;
    if (!takeJsonFlag(args, "ports", json, &error))
        return usageError(error);

    const std::string ini = programIniPath();
    const std::vector<SettingFinding> findings = checkSerialSettings(ini);
    for (const SettingFinding& finding : findings) {
        std::fprintf(stderr, "q93ctl: warning: %s\n", settingFindingText(finding, ini).c_str());
    }
    const OpenVerdict settings = settingsVerdict(findings, ini);
    const HeldDevices held = heldDevices();
    Json list = Json::array();
    for (const SerialPort& port : findSerialPorts()) {
        const std::vector<DeviceHolder> holders = holdersOf(held, port.device);
        OpenVerdict verdict = tryOpen(port.device, holders);
        if (verdict.canOpen)
            verdict = settings;
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
        printJson({{"command", "ports"},
                   {"iniFile", ini},
                   {"settings", settingsJson(findings)},
                   {"ports", list}});
    return kExitSuccess;
}

}  // namespace q93::ctl
