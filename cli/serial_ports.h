#pragma once

#include <string>
#include <vector>

namespace q93::ctl {

inline constexpr const char* kDevDir = "/dev";
inline constexpr const char* kSerialByIdDir = "/dev/serial/by-id";
// COM1..COM66, the names the port table knows.
inline constexpr int kComPortCount = 66;

// One serial device and how the program reaches it.
struct SerialPort {
    std::string device;                    // "/dev/ttyUSB0", or a device the INI file names
    std::vector<std::string> stableNames;  // the /dev/serial/by-id links that name it
    std::vector<std::string> comPorts;     // the COMn whose mapping (or default) opens it
};

// The serial devices of this machine (those /dev/serial/by-id names, then ttyS*, ttyUSB*
// and ttyACM* in number order) and after them every other device a COM port is mapped to in
// the INI file. A COM port without a mapping reaches /dev/ttyS<n-1>, where that exists.
std::vector<SerialPort> findSerialPorts(const std::string& devDir = kDevDir,
                                        const std::string& byIdDir = kSerialByIdDir);

// The /dev/serial/by-id name of a device, which stays the same whichever socket the
// adapter is plugged into; the device itself when it has none.
std::string preferStableName(const std::string& device,
                             const std::string& byIdDir = kSerialByIdDir);

}  // namespace q93::ctl
