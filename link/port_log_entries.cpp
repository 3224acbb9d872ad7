#include "link/port_log_entries.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/frame_log.h"

namespace q93 {
namespace {

struct DirectionPrefix {
    int direction;
    const char* prefix;
};

constexpr DirectionPrefix kPrefixes[] = {
    {kFrameSent, "-> "},
    {kFrameReceived, "<- "},
};

constexpr std::size_t kCharsPerByte = 3;  // "%02X "

const char* prefixFor(int direction) {
    for (const DirectionPrefix& row : kPrefixes) {
        if (row.direction == direction)
            return row.prefix;
    }
    return nullptr;
}

void appendByte(std::string& line, std::uint8_t byte) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    line += kDigits[byte >> 4];
    line += kDigits[byte & 0x0F];
    line += ' ';
}

}  // namespace

std::vector<std::string> portLogEntries(const std::uint8_t* bytes, int length, int direction) {
    const char* prefix = prefixFor(direction);
    if (prefix == nullptr)
        return {};
    const std::size_t prefixChars = std::strlen(prefix);
    const std::size_t bytesPerLine = (kPortLogEntryChars - prefixChars) / kCharsPerByte;
    const std::size_t total = length > 0 ? static_cast<std::size_t>(length) : 0;
    std::vector<std::string> lines;
    std::size_t offset = 0;
    do {
        const std::size_t count = std::min(bytesPerLine, total - offset);
        std::string line = prefix;
        line.reserve(prefixChars + count * kCharsPerByte);
        for (std::size_t i = 0; i < count; ++i)
            appendByte(line, bytes[offset + i]);
        lines.push_back(std::move(line));
        offset += count;
    } while (offset < total);
    return lines;
}

bool writePortLogFile(const std::string& path, const std::vector<std::string>& entries) {
    std::FILE* file = std::fopen(path.c_str(), "w+");
    if (file == nullptr)
        return false;
    for (const std::string& entry : entries)
        std::fprintf(file, "%s\n", entry.c_str());
    std::fclose(file);
    return true;
}

}  // namespace q93
