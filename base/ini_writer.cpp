#include "base/ini_writer.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <vector>

#include "base/replace_file.h"

namespace q93 {
namespace {

// One line of the file as it stands, its line end kept apart so a rewritten line gets the
// same one back.
struct Line {
    std::string_view body;
    std::string_view end;
};

std::vector<Line> splitLines(std::string_view text) {
    std::vector<Line> lines;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        const std::size_t stop = newline == std::string_view::npos ? text.size() : newline + 1;
        std::size_t bodyEnd = newline == std::string_view::npos ? text.size() : newline;
        if (bodyEnd > 0 && text[bodyEnd - 1] == '\r' && newline != std::string_view::npos)
            --bodyEnd;
        lines.push_back({text.substr(0, bodyEnd), text.substr(bodyEnd, stop - bodyEnd)});
        text.remove_prefix(stop);
    }
    return lines;
}

std::string_view withoutBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

// The name of the section a line opens, read as the INI reader reads it.
std::optional<std::string_view> opensSection(std::string_view line) {
    const std::string_view text = withoutBlanks(line);
    const std::size_t close = text.find(']');
    if (text.empty() || text.front() != '[' || close == std::string_view::npos)
        return std::nullopt;
    return withoutBlanks(text.substr(1, close - 1));
}

bool setsKey(std::string_view line, std::string_view key) {
    const std::string_view text = withoutBlanks(line);
    const std::size_t equals = text.find('=');
    return !text.empty() && text.front() != ';' && equals != std::string_view::npos &&
           equalIgnoringCase(withoutBlanks(text.substr(0, equals)), key);
}

}  // namespace

std::string withProfileString(std::string_view text, std::string_view section, std::string_view key,
                              std::string_view value) {
    const std::vector<Line> lines = splitLines(text);
    const std::string_view fileEnd =
        !lines.empty() && lines.front().end == "\r\n" ? std::string_view("\r\n") : "\n";
    const std::string entry = std::string(key) + "=" + std::string(value);

    std::optional<std::size_t> replace, insertAfter;
    bool inSection = false;
    bool inFirstSection = false;
    for (std::size_t i = 0; i < lines.size() && !replace; ++i) {
        if (const auto name = opensSection(lines[i].body)) {
            inSection = equalIgnoringCase(*name, section);
            inFirstSection = inSection && !insertAfter;
            if (inFirstSection)
                insertAfter = i;
            continue;
        }
        if (inSection && setsKey(lines[i].body, key)) {
            replace = i;
        } else if (inFirstSection && !withoutBlanks(lines[i].body).empty()) {
            // Blank lines after a section's last entry stay between it and the next one.
            insertAfter = i;
        }
    }

    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (replace && *replace == i) {
            out += entry;
            out += lines[i].end.empty() ? fileEnd : lines[i].end;
            continue;
        }
        out += lines[i].body;
        out += lines[i].end;
        if (!replace && insertAfter && *insertAfter == i) {
            if (lines[i].end.empty())
                out += fileEnd;
            out += entry;
            out += lines[i].end.empty() ? std::string_view() : fileEnd;
        }
    }
    if (!replace && !insertAfter) {
        if (!out.empty() && out.back() != '\n')
            out += fileEnd;
        out +=
            "[" + std::string(section) + "]" + std::string(fileEnd) + entry + std::string(fileEnd);
    }
    return out;
}

bool writeProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value, std::string* error) {
    // A line break would end the entry early and put the rest on a line of its own, read as
    // another key or section.
    for (const std::string_view part : {section, key, value}) {
        if (part.find_first_of("\r\n") != std::string_view::npos) {
            *error = "an INI entry cannot hold a line break";
            return false;
        }
    }
    std::string text;
    if (std::ifstream file{path, std::ios::binary}) {
        text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    std::error_code code;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder, code);
    if (code) {
        *error = "cannot create '" + folder.string() + "': " + code.message();
        return false;
    }
    if (!replaceFile(path, withProfileString(text, section, key, value))) {
        *error = "cannot write '" + path + "'";
        return false;
    }
    return true;
}

}  // namespace q93
