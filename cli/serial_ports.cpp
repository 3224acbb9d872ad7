#include "cli/serial_ports.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "base/ini_file.h"
#include "serial/device_path.h"

namespace q93::ctl {
namespace {

namespace fs = std::filesystem;

std::string canonical(const std::string& path) {
    std::error_code code;
    const fs::path resolved = fs::weakly_canonical(path, code);
    return code ? path : resolved.string();
}

// Entries of a folder as full paths, sorted; empty when it cannot be listed.
std::vector<std::string> entries(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code code;
    for (fs::directory_iterator it(folder, code), end; !code && it != end; it.increment(code))
        names.push_back(it->path().string());
    std::sort(names.begin(), names.end());
    return names;
}

// ttyS2 before ttyS10: by the family, then by the number.
bool numberedDevice(const std::string& name, std::string& family, long& number) {
    for (const char* prefix : {"ttyS", "ttyUSB", "ttyACM"}) {
        const std::string head = prefix;
        if (name.rfind(head, 0) != 0 || name.size() == head.size() ||
            name.find_first_not_of("0123456789", head.size()) != std::string::npos) {
            continue;
        }
        family = head;
        number = std::atol(name.c_str() + head.size());
        return true;
    }
    return false;
}

std::vector<std::string> numberedDevices(const std::string& devDir) {
    std::vector<std::pair<std::pair<std::string, long>, std::string>> found;
    for (const std::string& path : entries(devDir)) {
        std::string family;
        long number = 0;
        if (numberedDevice(fs::path(path).filename().string(), family, number))
            found.push_back({{family, number}, path});
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> paths;
    for (const auto& entry : found)
        paths.push_back(entry.second);
    return paths;
}

SerialPort& portFor(std::vector<SerialPort>& ports, const std::string& device) {
    const std::string key = canonical(device);
    for (SerialPort& port : ports) {
        if (canonical(port.device) == key)
            return port;
    }
    return ports.emplace_back(SerialPort{device, {}, {}});
}

}  // namespace

std::vector<SerialPort> findSerialPorts(const std::string& devDir, const std::string& byIdDir) {
    std::vector<SerialPort> ports;
    for (const std::string& link : entries(byIdDir))
        portFor(ports, canonical(link)).stableNames.push_back(link);
    for (const std::string& device : numberedDevices(devDir))
        portFor(ports, device);
    const std::string ini = programIniPath();
    for (int index = 0; index < kComPortCount; ++index) {
        const std::string name = "COM" + std::to_string(index + 1);
        const bool mapped = !readProfileString(ini, "Ports", name, "").empty();
        const std::string device = serial::devicePathForPort(index);
        std::error_code code;
        if (!mapped && !fs::exists(device, code))
            continue;
        const std::size_t before = ports.size();
        SerialPort& port = portFor(ports, device);
        // A default that names no device this machine lists is not worth a line of its own.
        if (!mapped && ports.size() > before) {
            ports.pop_back();
            continue;
        }
        port.comPorts.push_back(name);
    }
    return ports;
}

std::string preferStableName(const std::string& device, const std::string& byIdDir) {
    const std::string key = canonical(device);
    for (const std::string& link : entries(byIdDir)) {
        if (canonical(link) == key)
            return link;
    }
    return device;
}

}  // namespace q93::ctl
