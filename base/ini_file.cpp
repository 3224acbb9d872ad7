#include "base/ini_file.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <optional>

namespace q93 {
namespace {

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::string_view unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// The section a line opens, or nothing when the line is not a section header.
std::optional<std::string_view> sectionHeader(std::string_view line) {
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    const auto close = line.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return trimmed(line.substr(1, close - 1));
}

std::string homeDirectory() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0')
        return home;
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

}  // namespace

std::string readProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view defaultValue) {
    std::ifstream file(path);
    std::string raw;
    bool inSection = false;
    while (file && std::getline(file, raw)) {
        const std::string_view line = trimmed(raw);
        if (const auto header = sectionHeader(line)) {
            inSection = sameName(*header, section);
            continue;
        }
        if (!inSection || line.empty() || line.front() == ';')
            continue;
        const auto equals = line.find('=');
        if (equals == std::string_view::npos || !sameName(trimmed(line.substr(0, equals)), key)) {
            continue;
        }
        const std::string_view value = unquoted(trimmed(line.substr(equals + 1)));
        return std::string(value.substr(0, kProfileValueMaxLength));
    }
    return std::string(defaultValue.substr(0, kProfileValueMaxLength));
}

std::string programIniPath() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const std::string base = (configHome != nullptr && configHome[0] == '/')
                                 ? std::string(configHome)
                                 : homeDirectory() + "/.config";
    return base + "/q93config/Q93Config.ini";
}

}  // namespace q93
