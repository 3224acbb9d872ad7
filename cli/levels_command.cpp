#include <charconv>
#include <cstdio>

#include "cli/command_words.h"
#include "cli/connection_options.h"
#include "cli/serial_open_cause.h"
#include "protocol/level_query.h"
#include "protocol/parameter_set.h"
#include "protocol/transfer_steps.h"

namespace q93::ctl {
namespace {

// The readings travel as floats: print the shortest text that gives the float back.
std::string shortest(float value) {
    char text[32];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    return std::string(text, ec == std::errc{} ? end : text);
}

template <std::size_t N>
void printSet(const char* name, const std::array<std::atomic<double>, N>& readings) {
    for (std::size_t i = 0; i < N; ++i) {
        std::printf("%s[%zu]=%s\n", name, i + 1,
                    shortest(static_cast<float>(readings[i].load())).c_str());
    }
}

}  // namespace

int runLevelsCommand(const Arguments& args) {
    CommandWords words;
    std::string error;
    if (!splitWords(args, {"--count"}, {}, words, &error))
        return usageError(error);
    if (!words.positional.empty())
        return usageError("unexpected '" + words.positional[0] + "'");
    int count = 1;
    const std::string* given = words.option("--count");
    if (given != nullptr && !parseNumber(*given, 1, 1000000, count)) {
        return usageError("--count takes a number from 1");
    }
    CtlSeam seam;
    DeviceConnection connection;
    configure(connection, connectionOptions());
    if (connection.open() != 0) {
        steps::reportOpenFailure(connection);
        return transferExitStatus(-1, seam, connection, "opening the link");
    }
    LevelReadings levels;
    for (int round = 0; round < count; ++round) {
        if (QueryLevels(connection, 0, levels) != 0 || QueryLevels(connection, 1, levels) != 0) {
            connection.close();
            return exitStatus(-1, seam, "the level query");
        }
        printSet("levelSet0", levels.levelSet0);
        printSet("levelSet1", levels.levelSet1);
        std::fflush(stdout);
    }
    connection.close();
    return kExitSuccess;
}

}  // namespace q93::ctl
