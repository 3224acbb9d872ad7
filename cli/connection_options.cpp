#include "cli/connection_options.h"

#include <charconv>
#include <filesystem>
#include <optional>
#include <system_error>

#include "cli/encoder_names.h"
#include "cli/handshake_warning.h"
#include "link/connection_fields.h"
#include "store/location_store.h"

namespace q93::ctl {
namespace {

bool parseInt(const std::string& text, int low, int high, int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc{} && ptr == end && value >= low && value <= high;
}

// The values given explicitly; each replaces the one from tcp.txt.
struct Overrides {
    std::optional<std::string> portName, ipAddress, tcpPort;
    std::optional<int> speedIndex, readAck;
    std::optional<std::string> encoder;
};

bool takeOne(const std::string& option, const std::string& value, Overrides& given,
             std::string* error) {
    int number = 0;
    if (option == "--port") {
        given.portName = value;
    } else if (option == "--ip") {
        given.ipAddress = value;
    } else if (option == "--tcp-port") {
        if (!parseInt(value, 1, 65535, number))
            return *error = "--tcp-port takes 1..65535", false;
        given.tcpPort = value;
    } else if (option == "--speed") {
        if (!parseInt(value, 0, 5, number))
            return *error = "--speed takes an index 0..5", false;
        given.speedIndex = number;
    } else if (option == "--ack") {
        if (!parseInt(value, 0, 1, number))
            return *error = "--ack takes 0 or 1", false;
        given.readAck = number;
    } else {
        given.encoder = value;
    }
    return true;
}

bool isConnectionOption(const std::string& word) {
    for (const char* name : {"--port", "--ip", "--tcp-port", "--speed", "--ack", "--encoder"}) {
        if (word == name)
            return true;
    }
    return false;
}

}  // namespace

ConnectionOptions& connectionOptions() {
    static ConnectionOptions options;
    return options;
}

bool takeConnectionOptions(Arguments& words, ConnectionOptions& options, std::string* error,
                           bool* loadError) {
    Overrides given;
    std::size_t used = 0;
    while (used < words.size() && isConnectionOption(words[used])) {
        if (used + 1 >= words.size())
            return *error = words[used] + " needs a value", false;
        if (!takeOne(words[used], words[used + 1], given, error))
            return false;
        used += 2;
    }
    words.erase(words.begin(), words.begin() + static_cast<std::ptrdiff_t>(used));

    ConnectionSettings& settings = options.settings;
    if (given.encoder) {
        std::string site, encoder;
        if (!splitEncoderName(*given.encoder, site, encoder)) {
            return *error = "--encoder takes SITE/ENCODER", false;
        }
        options.encoderFolder = EncoderFolderPath(site, encoder);
        std::error_code code;
        if (!std::filesystem::is_directory(options.encoderFolder, code)) {
            *loadError = true;
            // A folder that is there but cannot be looked at is no unknown encoder.
            const bool absent = !code || code == std::errc::no_such_file_or_directory ||
                                code == std::errc::not_a_directory;
            return *error = absent
                                ? unknownEncoderText(*given.encoder)
                                : "cannot read '" + options.encoderFolder + "': " + code.message(),
                   false;
        }
        std::string reason;
        const ConnectionFault fault =
            ReadTransferSettings(options.encoderFolder, settings, &reason);
        if (fault != ConnectionFault::None) {
            *loadError = true;
            return *error = connectionFaultText(options.encoderFolder, fault, reason), false;
        }
    }
    options.portGiven = options.portGiven || given.portName.has_value();
    if (given.portName)
        settings.portName = *given.portName;
    else if (given.ipAddress && !options.portGiven && options.encoderFolder.empty())
        settings.portName = kTcpIpPortName;
    if (given.ipAddress)
        settings.ipAddress = *given.ipAddress;
    if (given.tcpPort)
        settings.tcpPort = *given.tcpPort;
    if (given.speedIndex)
        settings.speedIndex = *given.speedIndex;
    if (given.readAck)
        settings.readAck = *given.readAck;
    return true;
}

void configure(DeviceConnection& connection, const ConnectionOptions& options) {
    const ConnectionSettings& s = options.settings;
    connection.SetParameters(s.portName, s.ipAddress, s.tcpPort, s.speedIndex, s.readAck);
    warnOfXonXoff(connection);
}

std::string fileFor(const std::string* given, const std::string& name) {
    if (given != nullptr)
        return *given;
    const std::string& folder = connectionOptions().encoderFolder;
    return folder.empty() ? std::string() : folder + name;
}

}  // namespace q93::ctl
