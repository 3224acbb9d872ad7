#include <charconv>
#include <cstdio>
#include <string>

#include "cli/ctl_command.h"
#include "protocol/frame_codec.h"

namespace q93::ctl {
namespace {

bool parseSequence(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc{} && ptr == end && value >= 0 && value <= 255;
}

}  // namespace

int runFrameCommand(const Arguments& args) {
    int sequence = 0;
    const std::string* text = nullptr;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--seq") {
            if (i + 1 >= args.size() || !parseSequence(args[i + 1], sequence)) {
                return usageError("--seq takes a number from 0 to 255");
            }
            ++i;
        } else if (text == nullptr) {
            text = &args[i];
        } else {
            return usageError("frame takes one command text");
        }
    }
    if (text == nullptr) return usageError("frame needs a command text");

    frameSequence = sequence;
    FrameCodec codec;
    codec.buildFrame(*text);
    std::string line;
    for (int i = 0; i < codec.wireLength(); ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, i == 0 ? "%02X" : " %02X", codec.wireFrame()[i]);
        line += hex;
    }
    std::printf("%s\n", line.c_str());
    return kExitSuccess;
}

}  // namespace q93::ctl
