#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "app/location_store.h"
#include "cli/connection_options.h"
#include "cli/encoder_names.h"
#include "cli/json_output.h"
#include "link/connection_fields.h"

namespace q93::ctl {
namespace {

// Every text must come back from tcp.txt as it goes in, or list and the transfers would
// work with another address than the one given.
bool storableTexts(const ConnectionSettings& settings, std::string* error) {
    const std::pair<const char*, const std::string*> texts[] = {
        {"--ip", &settings.ipAddress},
        {"--tcp-port", &settings.tcpPort},
        {"--port", &settings.portName},
    };
    for (const auto& [option, text] : texts) {
        if (text->size() > kMaxConnectionText || text->find_first_of("\r\n") != std::string::npos) {
            *error = std::string(option) + " takes at most " + std::to_string(kMaxConnectionText) +
                     " characters and no line break: tcp.txt keeps no more of a line";
            return false;
        }
    }
    return true;
}

bool reachable(const ConnectionSettings& settings, std::string* error) {
    if (settings.portName != kTcpIpPortName)
        return true;
    if (settings.ipAddress.empty())
        return *error = "TCP/IP needs --ip ADDRESS", false;
    if (settings.tcpPort.empty())
        return *error = "TCP/IP needs --tcp-port N", false;
    return true;
}

bool folderExists(const std::string& path) {
    std::error_code code;
    return std::filesystem::exists(path, code);
}

// The folders an add may create, innermost first, with whether each was there before.
struct CreatedFolders {
    std::vector<std::pair<std::string, bool>> folders;

    // Takes back what a failed add created, so that no encoder without tcp.txt is left;
    // remove() leaves a folder that holds anything.
    void takeBack() const {
        for (const auto& [path, existed] : folders) {
            std::error_code code;
            if (!existed)
                std::filesystem::remove(path, code);
        }
    }
};

}  // namespace

int runAddCommand(const Arguments& args) {
    Arguments rest(args);
    const auto forced = std::remove(rest.begin(), rest.end(), std::string("--force"));
    const bool force = forced != rest.end();
    rest.erase(forced, rest.end());
    if (rest.empty())
        return usageError("add needs SITE/ENC");
    std::string site, encoder;
    if (!splitEncoderName(rest.front(), site, encoder)) {
        return usageError(
            "add takes SITE/ENC, two folder names (not empty, not starting with '.', no '/')");
    }
    rest.erase(rest.begin());
    // The connection words may follow the name as well as go before the command.
    ConnectionOptions options = connectionOptions();
    std::string error;
    bool loadError = false;
    if (!takeConnectionOptions(rest, options, &error, &loadError))
        return loadError ? failure(error) : usageError(error);
    if (!rest.empty())
        return usageError("unexpected '" + rest.front() + "'");
    if (!storableTexts(options.settings, &error) || !reachable(options.settings, &error))
        return usageError(error);

    const std::string folder = EncoderFolderPath(site, encoder);
    CreatedFolders created;
    for (const std::string& path :
         {folder, std::string(kLocationRoot) + site + "/", std::string(kLocationRoot)}) {
        created.folders.emplace_back(path, folderExists(path));
    }
    if (created.folders.front().second && !force) {
        return failure("encoder '" + site + "/" + encoder +
                       "' exists; --force rewrites its tcp.txt and keeps its other files");
    }
    if (!CreateEncoderFolder(site, encoder, kLocationRoot, &error)) {
        created.takeBack();
        return failure(error);
    }
    if (!WriteConnectionSettings(folder, options.settings)) {
        const int reason = errno;
        created.takeBack();
        return failure("cannot write '" + folder + "tcp.txt': " + std::strerror(reason));
    }
    std::printf("%s %s %s\n", plainValue(site + "/" + encoder).c_str(),
                plainPair("folder", folder).c_str(),
                plainPair("label", encoderLabel(encoder, options.settings)).c_str());
    return kExitSuccess;
}

}  // namespace q93::ctl
