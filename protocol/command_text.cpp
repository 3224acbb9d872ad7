#include "protocol/command_text.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace q93 {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads one token the way a 32-bit strtoul(…, 16) would: leading blanks, an optional 0x
// prefix, then digits; a value too large for 32 bits saturates at 0xFFFFFFFF.
std::optional<std::uint32_t> readHexToken(std::string_view token) {
    std::size_t pos = 0;
    while (pos < token.size() && isBlank(token[pos])) ++pos;
    if (pos + 2 < token.size() && token[pos] == '0' && (token[pos + 1] == 'x' || token[pos + 1] == 'X') &&
        hexDigit(token[pos + 2]) >= 0) {
        pos += 2;
    }
    if (pos >= token.size() || hexDigit(token[pos]) < 0) return std::nullopt;
    std::uint64_t value = 0;
    for (; pos < token.size() && hexDigit(token[pos]) >= 0; ++pos) {
        value = std::min<std::uint64_t>(value * 16 + static_cast<std::uint64_t>(hexDigit(token[pos])),
                                        0x100000000u);
    }
    return value > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(value);
}

}  // namespace

std::string expandCommandText(std::string_view text) {
    if (text.size() > kMaxCommandText) text = text.substr(0, kMaxCommandText);
    std::string out;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size() && out.size() < kMaxCommandText; ++i) {
        const char c = text[i];
        if (c == '"') {
            quoted = !quoted;
            if (i + 1 < text.size() && text[i + 1] == ',') ++i;
            continue;
        }
        if (!quoted) {
            out += c;
            continue;
        }
        char code[16];
        std::snprintf(code, sizeof code, "%x,",
                      static_cast<unsigned>(static_cast<int>(static_cast<signed char>(c))));
        out += code;
    }
    if (out.size() > kMaxCommandText) out.resize(kMaxCommandText);
    return out;
}

std::vector<std::uint8_t> tokenisePayload(std::string_view expanded) {
    std::vector<std::uint8_t> payload;
    std::size_t start = 0;
    while (payload.size() < kMaxPayload) {
        const std::size_t comma = expanded.find(',', start);
        const std::string_view token = expanded.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        const std::optional<std::uint32_t> value = readHexToken(token);
        if (!value || *value == 0xFFFFFFFFu) break;
        payload.push_back(static_cast<std::uint8_t>(*value & 0xFF));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return payload;
}

std::vector<std::uint8_t> commandPayload(std::string_view text) {
    return tokenisePayload(expandCommandText(text));
}

}  // namespace q93
