#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/location_store.h"
#include "cli/connection_options.h"
#include "cli/encoder_names.h"
#include "cli/json_output.h"

namespace q93::ctl {

int runAddCommand(const Arguments& args) {
    Arguments rest(args);
    const auto forced = std::remove(rest.begin(), rest.end(), std::string("--force"));
    const bool force = forced != rest.end();
    rest.erase(forced, rest.end());
    if (rest.empty())
        return usageError("add needs SITE/ENC");
    std::string site, encoder;
    if (!splitEncoderName(rest.front(), site, encoder)) {
        return usageError("add takes SITE/ENC, two folder names (not empty, '.' or '..', no '/')");
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

    const std::string folder = EncoderFolderPath(site, encoder);
    std::error_code code;
    if (std::filesystem::exists(folder, code) && !force) {
        return failure("encoder '" + site + "/" + encoder +
                       "' exists; --force rewrites its tcp.txt and keeps its other files");
    }
    if (!CreateEncoderFolder(site, encoder, kLocationRoot, &error))
        return failure(error);
    if (!WriteConnectionSettings(folder, options.settings))
        return failure("cannot write '" + folder + "tcp.txt'");
    std::printf("%s/%s %s %s\n", site.c_str(), encoder.c_str(), plainPair("folder", folder).c_str(),
                plainPair("label", encoderLabel(encoder, options.settings)).c_str());
    return kExitSuccess;
}

}  // namespace q93::ctl
