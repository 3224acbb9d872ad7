#include "link/connection_fields.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace q93 {
namespace {

constexpr int kSerialPorts = 16;
constexpr long kHighestTcpPort = 65535;
// The edit is read into a buffer of 255 characters.
constexpr std::size_t kTcpPortReadChars = 254;

bool startsWithIgnoringCase(const std::string& item, const std::string& prefix) {
    if (prefix.size() > item.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(item[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i]))) {
            return false;
        }
    }
    return true;
}

// One "%d" of a scan: blanks, a sign, digits; false when no digit follows. A number beyond
// the int range saturates, which keeps the low 8 bits meaningful for every sane text.
bool scanInt(const char*& cursor, int& value) {
    char* end = nullptr;
    const long number = std::strtol(cursor, &end, 10);
    if (end == cursor)
        return false;
    cursor = end;
    value = static_cast<int>(number < INT_MIN ? INT_MIN : number > INT_MAX ? INT_MAX : number);
    return true;
}

}  // namespace

IpAddressParts ipAddressParts(const std::string& text) {
    IpAddressParts parts = {127, 0, 0, 1};
    const char* cursor = text.c_str();
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            if (*cursor != '.')
                break;
            ++cursor;
        }
        if (!scanInt(cursor, parts[i]))
            break;
    }
    for (int& part : parts)
        part &= 0xFF;
    return parts;
}

std::string ipAddressText(const IpAddressParts& parts) {
    char text[64];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", parts[0], parts[1], parts[2], parts[3]);
    return text;
}

const std::vector<std::string>& connectionPortNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (int port = 1; port <= kSerialPorts; ++port)
            list.push_back("COM" + std::to_string(port));
        list.push_back(kTcpIpPortName);
        return list;
    }();
    return names;
}

int findPortItem(const std::string& portName) {
    const std::string name = portName.empty() ? kTcpIpPortName : portName;
    const std::vector<std::string>& names = connectionPortNames();
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (startsWithIgnoringCase(names[i], name))
            return static_cast<int>(i);
    }
    return -1;
}

long tcpPortNumber(const std::string& text) {
    const std::string read = text.substr(0, kTcpPortReadChars);
    return std::strtol(read.c_str(), nullptr, 10);
}

bool isTcpPortInRange(long port) {
    return port >= 0 && port <= kHighestTcpPort;
}

}  // namespace q93
