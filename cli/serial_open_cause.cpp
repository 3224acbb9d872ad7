#include "cli/serial_open_cause.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/ini_file.h"
#include "cli/command_words.h"
#include "cli/open_verdict.h"
#include "link/port_table.h"
#include "link/serial_settings.h"
#include "serial/port_error.h"

namespace q93::ctl {
namespace {

std::string quoted(const std::string& text) {
    return "'" + text + "'";
}

// "'COM7' opens /dev/ttyUSB0 (COM7 in [Ports] of FILE)": the key the name was read as, and
// whether the device is the user's mapping or the default.
std::string deviceOfPort(const std::string& portName, const SerialOpenFailure& failure,
                         const std::string& ini) {
    const std::string key = "COM" + std::to_string(failure.portIndex + 1);
    const bool mapped = !readProfileString(ini, "Ports", key, "").empty();
    return quoted(portName) + " opens " + failure.devicePath + " (" + (mapped ? "" : "no ") + key +
           " in [Ports] of " + ini + ")";
}

// The system's reason, or the library's code where it refused by itself.
std::string whatThePortSaid(const SerialOpenFailure& failure) {
    return serial::errorText(failure.code, failure.systemError);
}

std::string deviceCause(const std::string& portName, const SerialOpenFailure& failure,
                        const std::string& ini) {
    if (failure.portIndex == kUnknownPortIndex) {
        return quoted(portName) +
               " names no serial port: give COM1 to COM66, or TCP/IP (so written) for the network";
    }
    if (failure.systemError == 0) {
        if (failure.code == serial::CL_ERR_INUSE)
            return quoted(portName) + " is in use by another connection of this program";
        return deviceOfPort(portName, failure, ini) + ": refused, " + whatThePortSaid(failure);
    }
    const std::string said = std::strerror(failure.systemError);
    const std::vector<DeviceHolder> holders = failure.systemError == EBUSY
                                                  ? holdersOf(heldDevices(), failure.devicePath)
                                                  : std::vector<DeviceHolder>{};
    const OpenVerdict verdict =
        explainOpenFailure(failure.systemError, accessFacts(failure.devicePath, holders));
    std::string text = deviceOfPort(portName, failure, ini) + ": " + said;
    if (verdict.reason != said)
        text += ", " + verdict.reason;
    if (!verdict.fix.empty())
        text += "; fix: " + verdict.fix;
    return text;
}

std::vector<std::string> lineSettingsCause(const std::string& portName,
                                           const SerialOpenFailure& failure, const SerialLink& link,
                                           const std::string& ini) {
    std::vector<std::string> lines;
    for (const SettingFinding& finding : checkSerialSettings(ini)) {
        if (finding.refused) {
            lines.push_back(quoted(portName) + ": " + settingFindingText(finding, ini));
        }
    }
    if (!lines.empty())
        return lines;
    char format[96];
    std::snprintf(format, sizeof format, "%d baud, %d data bits, parity %c, %d stop bits",
                  static_cast<int>(link.baudRate), static_cast<int>(link.dataBits), link.parity,
                  static_cast<int>(link.stopBits));
    const std::string said = whatThePortSaid(failure);
    return {deviceOfPort(portName, failure, ini) + ": the device refused the line " + format +
            " (set in [Settings] of " + ini + "): " + said};
}

std::string flowControlCause(const std::string& portName, const SerialOpenFailure& failure,
                             const SerialLink& link, const std::string& ini) {
    const std::string said = whatThePortSaid(failure);
    return deviceOfPort(portName, failure, ini) +
           ": the device refused Handshake=" + link.handshake + " in [Settings] of " + ini + ": " +
           said + "; Handshake=none asks nothing of the device";
}

}  // namespace

std::string settingFindingText(const SettingFinding& finding, const std::string& ini) {
    const std::string setting = finding.key + "=" + finding.written + " in [Settings] of " + ini;
    if (finding.refused)
        return setting + " is refused: the port takes " + finding.allowed;
    return setting + " is read as none: write " + finding.allowed;
}

std::vector<std::string> serialOpenCause(const DeviceConnection& connection) {
    const SerialLink* serial = connection.serialLink();
    if (connection.useTcp != 0 || serial == nullptr)
        return {};
    const SerialLink& link = *serial;
    const SerialOpenFailure& failure = link.openFailure();
    const std::string ini = programIniPath();
    switch (failure.stage) {
        case OpenStage::None:
            return {};
        case OpenStage::Device:
            return {deviceCause(connection.portName, failure, ini)};
        case OpenStage::LineSettings:
            return lineSettingsCause(connection.portName, failure, link, ini);
        case OpenStage::FlowControl:
            return {flowControlCause(connection.portName, failure, link, ini)};
    }
    return {};
}

int transferExitStatus(int result, const CtlSeam& seam, const DeviceConnection& connection,
                       const std::string& what) {
    const int status = exitStatus(result, seam, what);
    if (status != kExitSuccess) {
        for (const std::string& line : serialOpenCause(connection))
            std::fprintf(stderr, "q93ctl: %s\n", line.c_str());
    }
    return status;
}

}  // namespace q93::ctl
