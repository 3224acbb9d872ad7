#include <cstdio>

#include "cli/command_words.h"
#include "cli/json_output.h"
#include "cli/quoted_text.h"
#include "store/location_store.h"

namespace q93::ctl {
namespace {

// The five values in the order of tcp.txt, and why the file is doubtful when it is.
Json connectionJson(const ConnectionSettings& settings) {
    Json connection = {{"ipAddress", jsonText(settings.ipAddress)},
                       {"tcpPort", jsonText(settings.tcpPort)},
                       {"portName", jsonText(settings.portName)},
                       {"speedIndex", settings.speedIndex},
                       {"readAck", settings.readAck}};
    if (!settings.doubt.empty())
        connection["doubt"] = settings.doubt;
    return connection;
}

std::string presetNumbers(const StoredFiles& files) {
    std::string numbers;
    for (int n = 1; n <= kPresetsPerEncoder; ++n) {
        if (files.presets[n - 1])
            numbers += (numbers.empty() ? "" : ",") + std::to_string(n);
    }
    return numbers;
}

std::string encoderLine(const std::string& site, const EncoderFolder& encoder,
                        const std::string& folder, const ConnectionSettings* settings,
                        const StoredFiles& files) {
    std::string line = plainValue(site + "/" + encoder.name) + " " + plainPair("folder", folder) +
                       " " + plainPair("label", encoder.label);
    if (settings == nullptr) {
        line += " tcp.txt=missing";
    } else {
        line += " " + plainPair("ipAddress", settings->ipAddress) + " " +
                plainPair("tcpPort", settings->tcpPort) + " " +
                plainPair("portName", settings->portName) +
                " speedIndex=" + std::to_string(settings->speedIndex) +
                " readAck=" + std::to_string(settings->readAck);
        if (!settings->doubt.empty())
            line += " " + plainPair("tcp.txt", "doubtful: " + settings->doubt);
    }
    return line + " device.dat=" + (files.device ? "yes" : "no") + " " +
           plainPair("presets", presetNumbers(files));
}

}  // namespace

int runListCommand(const Arguments& args) {
    bool json = false;
    std::string error;
    if (!takeJsonFlag(args, "list", json, &error)) {
        return failedCommand("list", asksForJson(args), kExitUsage, error);
    }

    ConnectionSettings lastRead;
    std::string rootError;
    const std::vector<SiteFolder> tree = scanLocationData(lastRead, kLocationRoot, &rootError);
    if (!rootError.empty())
        return failedCommand("list", json, kExitFailure, rootError);
    const int failed = unreadableFolders(tree);
    Json sites = Json::array();
    for (const SiteFolder& site : tree) {
        Json encoders = Json::array();
        // A site that cannot be listed has encoders nobody knows: named as failed, never
        // shown as one without encoders.
        if (!site.error.empty() && !json) {
            std::printf("%s FAILED %s\n", plainValue(site.name + "/").c_str(),
                        plainPair("message", site.error).c_str());
        } else if (site.encoders.empty() && !json) {
            std::printf("%s encoders=0\n", plainValue(site.name + "/").c_str());
        }
        for (const EncoderFolder& encoder : site.encoders) {
            const std::string folder = EncoderFolderPath(site.name, encoder.name);
            if (!encoder.error.empty() && !json) {
                std::printf("%s FAILED %s %s\n", plainValue(site.name + "/" + encoder.name).c_str(),
                            plainPair("folder", folder).c_str(),
                            plainPair("message", encoder.error).c_str());
                continue;
            }
            ConnectionSettings settings;
            const bool readable =
                encoder.error.empty() && ReadConnectionSettings(folder, settings) == 0;
            const StoredFiles files = findStoredFiles(folder);
            if (!json) {
                std::printf("%s\n", encoderLine(site.name, encoder, folder,
                                                readable ? &settings : nullptr, files)
                                        .c_str());
                continue;
            }
            Json presets = Json::array();
            for (int n = 1; n <= kPresetsPerEncoder; ++n) {
                if (files.presets[n - 1])
                    presets.push_back(n);
            }
            Json entry = {{"name", jsonText(site.name + "/" + encoder.name)},
                          {"folder", jsonText(folder)},
                          {"label", jsonText(encoder.label)},
                          {"connection", readable ? connectionJson(settings) : Json(nullptr)},
                          {"device", files.device},
                          {"presets", presets}};
            if (!encoder.error.empty())
                entry["error"] = jsonText(encoder.error);
            encoders.push_back(std::move(entry));
        }
        Json entry = {{"site", jsonText(site.name)}, {"encoders", encoders}};
        if (!site.error.empty())
            entry["error"] = jsonText(site.error);
        sites.push_back(std::move(entry));
    }
    if (json)
        printJson({{"command", "list"}, {"sites", sites}, {"failed", failed}});
    return failed == 0 ? kExitSuccess : kExitFailure;
}

}  // namespace q93::ctl
