#include "cli/quoted_text.h"

#include <cstdint>
#include <optional>

#include "store/name_text.h"

namespace q93::ctl {
namespace {

bool isControl(char c) {
    const auto byte = static_cast<std::uint8_t>(c);
    return byte < 0x20 || byte == 0x7F;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The text a whole quoted form stands for; nothing when the word is not one.
std::optional<std::string> unquoted(std::string_view word) {
    if (word.size() < 2 || word.front() != '"' || word.back() != '"')
        return std::nullopt;
    std::string text;
    for (std::size_t i = 1; i + 1 < word.size(); ++i) {
        const char c = word[i];
        if (c == '"')
            return std::nullopt;
        if (c != '\\') {
            text += c;
            continue;
        }
        if (++i + 1 >= word.size())
            return std::nullopt;
        switch (word[i]) {
            case '"':
            case '\\':
                text += word[i];
                break;
            case 't':
                text += '\t';
                break;
            case 'n':
                text += '\n';
                break;
            case 'r':
                text += '\r';
                break;
            case 'x': {
                const int high = i + 2 < word.size() - 1 ? hexValue(word[i + 1]) : -1;
                const int low = high < 0 ? -1 : hexValue(word[i + 2]);
                if (low < 0)
                    return std::nullopt;
                text += static_cast<char>(high * 16 + low);
                i += 2;
                break;
            }
            default:
                return std::nullopt;
        }
    }
    return text;
}

}  // namespace

std::string cQuoted(std::string_view text) {
    return quotedText(text);
}

std::string quotedIfNeeded(std::string_view text) {
    bool plain = !text.empty() && isUtf8(text);
    for (const char c : text)
        plain = plain && !isControl(c) && c != ' ' && c != '"' && c != '\\';
    return plain ? std::string(text) : cQuoted(text);
}

std::string jsonText(const std::string& text) {
    if (isUtf8(text) && (text.empty() || text.front() != '"'))
        return text;
    return cQuoted(text);
}

std::string wordAsName(const std::string& word) {
    return unquoted(word).value_or(word);
}

}  // namespace q93::ctl
