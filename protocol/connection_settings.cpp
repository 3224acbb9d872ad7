#include "protocol/connection_settings.h"

#include <cstdio>
#include <cstdlib>

namespace q93 {
namespace {

// The store reads each line into a buffer of 20 characters.
constexpr int kLineBuffer = 20;

std::string nextLine(std::FILE* file) {
    char line[kLineBuffer] = {};
    if (std::fgets(line, kLineBuffer, file) == nullptr)
        return {};
    std::string text = line;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

int nextNumber(std::FILE* file) {
    const std::string text = nextLine(file);
    return static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
}

}  // namespace

bool readConnectionSettings(const std::string& path, ConnectionSettings& settings) {
    settings.ipAddress.clear();
    settings.tcpPort.clear();
    settings.portName.clear();
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr)
        return false;
    settings.ipAddress = nextLine(file);
    settings.tcpPort = nextLine(file);
    settings.portName = nextLine(file);
    settings.speedIndex = nextNumber(file);
    settings.readAck = nextNumber(file);
    std::fclose(file);
    return true;
}

}  // namespace q93
