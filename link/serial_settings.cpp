#include "link/serial_settings.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <limits>

#include "base/ini_file.h"
#include "link/serial_link.h"
#include "serial/port_settings.h"

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
    {"RTS/CTS", {serial::LINE_RTS, serial::LINE_CTS}},
    {"Xon/Xoff", {serial::FLOW_XONXOFF, serial::FLOW_XONXOFF}},
};

// The four values as written, the defaults standing in for missing ones.
struct SettingTexts {
    std::string dataBits, parity, stopBits, handshake;
};

SettingTexts readSettingTexts(const std::string& path) {
    const auto read = [&](const char* key, const char* fallback) {
        return readProfileString(path, kSettingsSection, key, fallback);
    };
    SettingTexts texts;
    texts.dataBits = read("DataBits", "8");
    texts.parity = read("Parity", "none");
    texts.stopBits = read("StopBits", "1");
    texts.handshake = read("Handshake", "none");
    return texts;
}

bool knownParity(std::string_view text) {
    return std::any_of(std::begin(kParityRows), std::end(kParityRows),
                       [&](const ParityRow& row) { return row.text == text; });
}

// "none" is no row of its own: every text the table lacks gives no handshake.
bool knownHandshake(std::string_view text) {
    return text == "none" || std::any_of(std::begin(kHandshakeRows), std::end(kHandshakeRows),
                                         [&](const HandshakeRow& row) { return row.text == text; });
}

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
    return {serial::FLOW_NONE, serial::FLOW_NONE};
}

void loadSerialSettings(SerialLink& link) {
    const SettingTexts texts = readSettingTexts(programIniPath());
    link.dataBits = profileInteger(texts.dataBits);
    link.parity = parityFromProfile(texts.parity);
    link.stopBits = profileInteger(texts.stopBits);
    link.handshake = texts.handshake.substr(0, kHandshakeMaxLength);
}

std::vector<SettingFinding> checkSerialSettings(const std::string& path) {
    const SettingTexts texts = readSettingTexts(path);
    std::vector<SettingFinding> findings;
    if (!serial::dataBitsSupported(profileInteger(texts.dataBits))) {
        findings.push_back({"DataBits", texts.dataBits,
                            std::to_string(serial::kFewestDataBits) + " to " +
                                std::to_string(serial::kMostDataBits),
                            true});
    }
    if (!knownParity(texts.parity))
        findings.push_back({"Parity", texts.parity, "none, even or odd", false});
    if (!serial::stopBitsSupported(profileInteger(texts.stopBits)))
        findings.push_back({"StopBits", texts.stopBits, "1 or 2", true});
    if (!knownHandshake(texts.handshake))
        findings.push_back({"Handshake", texts.handshake, "RTS/CTS, Xon/Xoff or none", false});
    return findings;
}

}  // namespace q93
