#include <algorithm>
#include <cstdio>
#include <utility>

#include "cli/connection_options.h"
#include "cli/encoder_names.h"
#include "cli/json_output.h"
#include "cli/quoted_text.h"
#include "link/connection_fields.h"
#include "store/location_folders.h"
#include "store/location_store.h"

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

// A SITE/ENC word that names no folders: the name rule's own reason where it has one, the
// same the desktop tool gives.
int refuseName(const std::string& word) {
    const std::string text = wordAsName(word);
    const std::size_t slash = text.find('/');
    if (slash != std::string::npos) {
        for (const std::string& part : {text.substr(0, slash), text.substr(slash + 1)}) {
            if (const NameFault fault = folderNameFault(part); fault != NameFault::None)
                return usageError("'" + part + "' " + nameFaultReason(fault));
        }
    }
    return usageError(
        "add takes SITE/ENC, two folder names (not empty, no '/', not starting with a dot)");
}

}  // namespace

int runAddCommand(const Arguments& args) {
    Arguments rest(args);
    const auto forced = std::remove(rest.begin(), rest.end(), std::string("--force"));
    const bool force = forced != rest.end();
    rest.erase(forced, rest.end());
    if (rest.empty())
        return usageError("add needs SITE/ENC");
    std::string site, encoder;
    if (!splitEncoderName(rest.front(), site, encoder))
        return refuseName(rest.front());
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

    const std::string siteFolder = std::string(kLocationRoot) + site + "/";
    for (const auto& [name, fault] :
         {std::pair{site, folderNameFault(site)},
          std::pair{encoder, newFolderNameFault(siteFolder, encoder)}}) {
        if (fault == NameFault::Exists && force)
            continue;
        if (fault == NameFault::Exists) {
            return failure("encoder '" + site + "/" + encoder +
                           "' exists; --force rewrites its tcp.txt and keeps its other files");
        }
        if (fault != NameFault::None)
            return usageError("'" + name + "' " + nameFaultReason(fault));
    }
    if (!CreateEncoder(site, encoder, options.settings, kLocationRoot, force, &error))
        return failure(error);
    const std::string folder = EncoderFolderPath(site, encoder);
    std::printf("%s %s %s\n", plainValue(site + "/" + encoder).c_str(),
                plainPair("folder", folder).c_str(),
                plainPair("label", encoderLabel(encoder, options.settings)).c_str());
    return kExitSuccess;
}

}  // namespace q93::ctl
