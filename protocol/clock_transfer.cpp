#include "protocol/clock_transfer.h"

#include <cstdio>

#include "base/string_table.h"
#include "base/user_seam.h"
#include "protocol/transfer_steps.h"

namespace q93 {
namespace {

constexpr int kReadingRtc = 113;
constexpr int kWritingRtc = 114;
// The clock answer carries the offset code at offset 13; the frame then has its checksum
// and end byte after it.
constexpr int kOffsetCodeAt = 13;
constexpr int kClockAnswerLength = kOffsetCodeAt + 4;

unsigned lowByte(int value) {
    return static_cast<unsigned>(value) & 0xFFu;
}

}  // namespace

int WriteRtc(DeviceConnection& connection, int year, int month, int day, int hour, int minute,
             int second, int offsetCode) {
    ProgressPopup popup;
    if (connection.open() != 0) {
        steps::reportOpenFailure(connection);
        return -1;
    }
    popup.showText(LoadResString(kWritingRtc));
    char text[64];
    std::snprintf(text, sizeof text, "0d,%02x,%02x,%02x,%02x,%02x,%02x,0,%02x", lowByte(year),
                  lowByte(month), lowByte(day), lowByte(hour), lowByte(minute), lowByte(second),
                  lowByte(offsetCode));
    connection.commandText = text;
    if (connection.Transact(connection.commandText) != 0)
        return -1;
    connection.close();
    popup.hide();
    return 0;
}

int ReadRtc(DeviceConnection& connection, int& year, int& month, int& day, int& hour, int& minute,
            int& second, int& offsetCode) {
    ProgressPopup popup;
    if (connection.open() != 0) {
        steps::reportOpenFailure(connection);
        return -1;
    }
    popup.showText(LoadResString(kReadingRtc));
    connection.commandText = "17,01,0d";
    if (connection.Transact(connection.commandText) != 0)
        return -1;
    // A frame too short to hold the clock counts as none: its bytes would be the request's.
    if (!connection.receiveAnswer(kClockAnswerLength)) {
        connection.answerError = -1;
        showWarning(kNoAnswerText);
        connection.close();
        return -1;
    }
    const FrameCodec& codec = connection.codec();
    year = codec.answerByte(6);
    month = codec.answerByte(7);
    day = codec.answerByte(8);
    hour = codec.answerByte(9);
    minute = codec.answerByte(10);
    second = codec.answerByte(11);
    offsetCode = codec.answerByte(kOffsetCodeAt);
    connection.close();
    popup.hide();
    return 0;
}

int WriteRtc(DeviceConnection& connection, const ClockValues& v) {
    return WriteRtc(connection, v.year, v.month, v.day, v.hour, v.minute, v.second, v.offsetCode);
}

int ReadRtc(DeviceConnection& connection, ClockValues& v) {
    return ReadRtc(connection, v.year, v.month, v.day, v.hour, v.minute, v.second, v.offsetCode);
}

}  // namespace q93
