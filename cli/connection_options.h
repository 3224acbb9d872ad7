#pragma once

#include <string>

#include "cli/ctl_command.h"
#include "protocol/connection_settings.h"
#include "protocol/device_connection.h"

namespace q93::ctl {

// The connection words given before the command: the five values of an encoder, taken
// from its tcp.txt with --encoder and overridden one by one by the other options.
struct ConnectionOptions {
    // Without options: the serial port a fresh connection starts with.
    ConnectionSettings settings{"", "", "COM2", 3, 1, {}};
    // "./LocationData/SITE/ENC/" with --encoder, where files default to; else empty.
    std::string encoderFolder;
    // Whether --port was given: without it, --ip means the TCP link.
    bool portGiven = false;
};

// Takes the leading connection options off `words`. false with a usage message in *error,
// or with *loadError set when --encoder names an encoder the store does not hold or whose
// tcp.txt cannot be read. --ip without --port (here or in an earlier call with the same
// options) selects TCP/IP, unless the port comes from --encoder's tcp.txt.
bool takeConnectionOptions(Arguments& words, ConnectionOptions& options, std::string* error,
                           bool* loadError);

// The options in effect for this run of q93ctl.
ConnectionOptions& connectionOptions();

// SetParameters with the five values.
void configure(DeviceConnection& connection, const ConnectionOptions& options);

// The file a command works on: the one given, else `name` in the encoder folder; empty
// when there is neither.
std::string fileFor(const std::string* given, const std::string& name);

}  // namespace q93::ctl
