#include "link/serial_settings.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "base/ini_file.h"
#include "cpp_all/comlink/comm_errors.h"
#include "link/serial_link.h"

namespace q93 {
namespace {

struct ParityRow {
    std::string_view text;
    char parity;
};

constexpr ParityRow kParityRows[] = {{"none", 'N'}, {"even", 'E'}, {"odd", 'O'}};

struct HandshakeRow {
    std::string_view text;
    FlowModes modes;
};

// RTS handshake on what comes in, CTS handshake on what goes out.
constexpr HandshakeRow kHandshakeRows[] = {
    {"RTS/CTS", {comlink::LINE_RTS, comlink::LINE_CTS}},
    {"Xon/Xoff", {comlink::FLOW_XONXOFF, comlink::FLOW_XONXOFF}},
};

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

int profileInteger(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && isBlank(text[at]))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';
    constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = std::min<std::int64_t>(value * 10 + (text[at] - '0'), kLimit + 1);
    }
    if (negative)
        return static_cast<int>(-value);
    return static_cast<int>(std::min(value, kLimit));
}

char parityFromProfile(std::string_view text) {
    for (const ParityRow& row : kParityRows) {
        if (row.text == text)
            return row.parity;
    }
    return 'N';
}

FlowModes flowModesForHandshake(std::string_view handshake) {
    for (const HandshakeRow& row : kHandshakeRows) {
        if (row.text == handshake)
            return row.modes;
    }
    return {comlink::FLOW_NONE, comlink::FLOW_NONE};
}

void loadSerialSettings(SerialLink& link) {
    const std::string path = programIniPath();
    const auto read = [&](const char* key, const char* fallback) {
        return readProfileString(path, kSettingsSection, key, fallback);
    };
    link.dataBits = profileInteger(read("DataBits", "8"));
    link.parity = parityFromProfile(read("Parity", "none"));
    link.stopBits = profileInteger(read("StopBits", "1"));
    link.handshake = read("Handshake", "none").substr(0, kHandshakeMaxLength);
}

}  // namespace q93
