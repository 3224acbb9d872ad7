#include <cstdio>
#include <ctime>

#include "cli/command_words.h"
#include "cli/connection_options.h"
#include "cli/pc_clock.h"
#include "cli/serial_open_cause.h"
#include "protocol/clock_transfer.h"

namespace q93::ctl {
namespace {

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
    if (const std::string fault = clockFault(clock); !fault.empty())
        return *error = "--time: " + fault, false;
    return true;
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
