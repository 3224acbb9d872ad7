#pragma once

#include <string>
#include <vector>

namespace q93::ctl {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

using Arguments = std::vector<std::string>;

// Each command takes the words after its name and returns the exit status.
int runFrameCommand(const Arguments& args);
int runShowCommand(const Arguments& args);
// The commands that talk to an encoder, through the connection options given before them.
int runReadPresetCommand(const Arguments& args);
int runWritePresetCommand(const Arguments& args);
int runReadDeviceCommand(const Arguments& args);
int runWriteDeviceCommand(const Arguments& args);
int runRtcReadCommand(const Arguments& args);
int runRtcWriteCommand(const Arguments& args);
int runLevelsCommand(const Arguments& args);
// The commands over the location store and the fleet of encoders in it.
int runListCommand(const Arguments& args);
int runAddCommand(const Arguments& args);
int runBackupCommand(const Arguments& args);
int runRestoreCommand(const Arguments& args);
// One change of fields across encoders: a plan, or with --apply a verified write.
int runSetCommand(const Arguments& args);
int runDiffCommand(const Arguments& args);
int runClockCommand(const Arguments& args);
int runCheckCommand(const Arguments& args);
// The settings history: LocationData as a git repository of backups.
int runHistoryCommand(const Arguments& args);
// Polls the encoders and serves their health as Prometheus metrics until SIGINT or SIGTERM.
int runWatchCommand(const Arguments& args);
// Serial devices of this machine and their COM mapping.
int runPortsCommand(const Arguments& args);
int runMapPortCommand(const Arguments& args);

// Prints "q93ctl: <message>" and the usage hint to stderr; returns kExitUsage.
int usageError(const std::string& message);
// Prints "q93ctl: <message>" to stderr; returns kExitFailure.
int failure(const std::string& message);

const char* usageText();

}  // namespace q93::ctl
