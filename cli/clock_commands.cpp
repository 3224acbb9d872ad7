#include <cstdio>
#include <ctime>

#include "cli/command_words.h"
#include "cli/connection_options.h"
#include "cli/pc_clock.h"
#include "cli/serial_open_cause.h"
#include "protocol/clock_transfer.h"

namespace q93::ctl {
namespace {

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// "YYYY-MM-DD HH:MM:SS" within what the encoder's two-digit year can hold; false with the
// part that is off, named, in *error.
bool parseTime(const std::string& text, ClockValues& clock, std::string* error) {
    int year = 0;
    char rest = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &year, &clock.month, &clock.day,
                    &clock.hour, &clock.minute, &clock.second, &rest) != 6 ||
        text.size() != 19) {
        return *error = "--time takes \"YYYY-MM-DD HH:MM:SS\"", false;
    }
    clock.year = year - 2000;
    const std::string month = text.substr(0, 7);
    if (year < 2000 || year > 2099)
        *error = "--time: the encoder keeps the years 2000..2099, not " + std::to_string(year);
    else if (clock.month < 1 || clock.month > 12)
        *error = "--time: no month " + std::to_string(clock.month) + " (1..12)";
    else if (clock.day < 1 || clock.day > daysInMonth(year, clock.month))
        *error = "--time: no day " + std::to_string(clock.day) + " in " + month + ", which has " +
                 std::to_string(daysInMonth(year, clock.month)) + " days";
    else if (clock.hour < 0 || clock.hour > 23)
        *error = "--time: no hour " + std::to_string(clock.hour) + " (0..23)";
    else if (clock.minute < 0 || clock.minute > 59)
        *error = "--time: no minute " + std::to_string(clock.minute) + " (0..59)";
    else if (clock.second < 0 || clock.second > 59)
        *error = "--time: no second " + std::to_string(clock.second) + " (0..59)";
    else
        return true;
    return false;
}

// "+H:MM" or "-H:MM" in half hours up to 12:00, as the offset code the encoder keeps.
bool parseOffset(const std::string& text, int& code) {
    int hours = 0, minutes = 0;
    char sign = 0, rest = 0;
    if (std::sscanf(text.c_str(), "%c%2d:%2d%c", &sign, &hours, &minutes, &rest) != 3)
        return false;
    if ((sign != '+' && sign != '-') || text.size() < 5 || text[text.size() - 3] != ':')
        return false;
    if (hours < 0 || (minutes != 0 && minutes != 30))
        return false;
    const int halfHours = hours * 2 + minutes / 30;
    if (halfHours > 24)
        return false;
    code = OffsetCodeFromEntry(kZeroOffsetEntry + (sign == '-' ? -halfHours : halfHours));
    return true;
}

}  // namespace

int runRtcReadCommand(const Arguments& args) {
    if (!args.empty())
        return usageError("rtc-read takes no arguments");
    CtlSeam seam;
    DeviceConnection connection;
    configure(connection, connectionOptions());
    ClockValues clock;
    const int status =
        transferExitStatus(ReadRtc(connection, clock), seam, connection, "reading the clock");
    if (status != kExitSuccess)
        return status;
    std::printf("%04d-%02d-%02d %02d:%02d:%02d ", FullYearFromClock(clock.year), clock.month,
                clock.day, clock.hour, clock.minute, clock.second);
    const int entry = OffsetEntryFromCode(clock.offsetCode);
    if (entry < 0) {
        // A code no offset list holds: show the byte itself rather than a made-up offset.
        std::printf("offset code 0x%02x\n", static_cast<unsigned>(clock.offsetCode) & 0xFFu);
        return kExitSuccess;
    }
    const int halfHours = entry - kZeroOffsetEntry;
    const int magnitude = halfHours < 0 ? -halfHours : halfHours;
    std::printf("%c%d:%02d\n", halfHours < 0 ? '-' : '+', magnitude / 2, magnitude % 2 * 30);
    return kExitSuccess;
}

int runRtcWriteCommand(const Arguments& args) {
    CommandWords words;
    std::string error;
    if (!splitWords(args, {"--time", "--offset"}, {"--pc"}, words, &error))
        return usageError(error);
    const std::string* time = words.option("--time");
    const std::string* offset = words.option("--offset");
    const bool pc = words.option("--pc") != nullptr;
    if (!words.positional.empty())
        return usageError("unexpected '" + words.positional[0] + "'");
    if (pc == (time != nullptr))
        return usageError("rtc-write takes either --pc or --time");
    if (pc && offset != nullptr)
        return usageError("--offset goes with --time only");
    ClockValues clock;
    if (pc) {
        clock = pcClock();
    } else if (!parseTime(*time, clock, &error)) {
        return usageError(error);
    }
    if (offset != nullptr && !parseOffset(*offset, clock.offsetCode)) {
        return usageError("--offset takes +H:MM or -H:MM in half hours up to 12:00");
    }
    CtlSeam seam;
    DeviceConnection connection;
    configure(connection, connectionOptions());
    return transferExitStatus(WriteRtc(connection, clock), seam, connection, "writing the clock");
}

}  // namespace q93::ctl
