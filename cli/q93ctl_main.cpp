#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/held_signals.h"
#include "cli/connection_options.h"
#include "cli/ctl_command.h"
#include "cli/lock_options.h"

namespace {

using q93::ctl::Arguments;

struct CommandEntry {
    const char* name;
    int (*run)(const Arguments&);
};

constexpr CommandEntry kCommands[] = {
    {"frame", q93::ctl::runFrameCommand},
    {"show", q93::ctl::runShowCommand},
    {"read-preset", q93::ctl::runReadPresetCommand},
    {"write-preset", q93::ctl::runWritePresetCommand},
    {"read-device", q93::ctl::runReadDeviceCommand},
    {"write-device", q93::ctl::runWriteDeviceCommand},
    {"rtc-read", q93::ctl::runRtcReadCommand},
    {"rtc-write", q93::ctl::runRtcWriteCommand},
    {"levels", q93::ctl::runLevelsCommand},
    {"list", q93::ctl::runListCommand},
    {"add", q93::ctl::runAddCommand},
    {"backup", q93::ctl::runBackupCommand},
    {"set", q93::ctl::runSetCommand},
    {"restore", q93::ctl::runRestoreCommand},
    {"diff", q93::ctl::runDiffCommand},
    {"clock", q93::ctl::runClockCommand},
    {"check", q93::ctl::runCheckCommand},
    {"ports", q93::ctl::runPortsCommand},
    {"map-port", q93::ctl::runMapPortCommand},
    {"history", q93::ctl::runHistoryCommand},
    {"watch", q93::ctl::runWatchCommand},
};

// Everything a command prints sits in the stream's buffer until the end, where a full disk
// or a closed pipe first shows: a script must not take a backup or a reading that never
// reached its file for a success.
int checkedOutput(int code) {
    const bool flushed = std::fflush(stdout) == 0;
    const int error = errno;
    if (flushed && std::ferror(stdout) == 0)
        return code;
    const int failed = q93::ctl::failure(std::string("cannot write the output: ") +
                                         (flushed ? "write error" : std::strerror(error)));
    return code == q93::ctl::kExitSuccess ? failed : code;
}

int run(int argc, char** argv) {
    Arguments words(argv + 1, argv + argc);
    std::string error;
    if (!q93::ctl::takeLockWait(words, &error))
        return q93::ctl::usageError(error);
    bool loadError = false;
    if (!q93::ctl::takeConnectionOptions(words, q93::ctl::connectionOptions(), &error,
                                         &loadError)) {
        return loadError ? q93::ctl::failure(error) : q93::ctl::usageError(error);
    }
    if (words.empty())
        return q93::ctl::usageError("no command given");
    const std::string command = words[0];
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(q93::ctl::usageText(), stdout);
        return q93::ctl::kExitSuccess;
    }
    const Arguments args(words.begin() + 1, words.end());
    q93::EncoderLock lock;
    if (!q93::ctl::lockGivenEncoder(command, lock, &error))
        return q93::ctl::failure(error);
    for (const CommandEntry& entry : kCommands) {
        if (command == entry.name)
            return entry.run(args);
    }
    return q93::ctl::usageError("unknown command '" + command + "'");
}

}  // namespace

int main(int argc, char** argv) {
    q93::ignoreFileSizeSignal();
    return checkedOutput(run(argc, argv));
}
