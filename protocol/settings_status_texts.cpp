#include "protocol/settings_status_texts.h"

#include "base/string_table.h"

namespace q93 {
namespace {

constexpr int kNotRequestedString = 123;
constexpr int kInputOffString = 119;  // then 120 analog, 121 digital
constexpr int kNoAesFrameString = 125;
constexpr int kAesFrameString = 126;

}  // namespace

std::string ChannelsText(int channels) {
    switch (channels) {
        case 1:
            return "L / -";
        case 2:
            return "- / R";
        case 3:
            return "L / R";
        default:
            return "- / -";
    }
}

std::string CurrentInputText(int currentInput) {
    if (currentInput == -1)
        return LoadResString(kNotRequestedString);
    if (currentInput >= 0 && currentInput <= 2) {
        return LoadResString(kInputOffString + currentInput);
    }
    return "?";
}

std::string AesFrameText(int aesFrameStatus) {
    return LoadResString(aesFrameStatus == 0 ? kNoAesFrameString : kAesFrameString);
}

}  // namespace q93
