#include <cstdio>

#include "cli/block_compare.h"
#include "cli/ctl_command.h"
#include "cli/encoder_choice.h"
#include "cli/json_output.h"

namespace q93::ctl {
namespace {

constexpr int kExitDifferent = 3;

// Reads what the choice covers from the encoder, each block starting from the stored one
// so that fields the encoder does not send compare equal. The levels are shown in the unit
// of the stored device file, as the desktop tool shows a stored preset; without one, in the
// encoder's.
bool readAndCompare(EncoderSession& session, const BlockChoice& choice, const EncoderBlocks& stored,
                    std::vector<FieldDifference>& differences) {
    EncoderBlocks read = stored;
    if (!session.loadConnection())
        return false;
    if (choice.device && !session.readDevice(read.device))
        return false;
    DeviceParameters units;
    std::string ignored;
    if (!readStoredDevice(session.encoder().folder, units, &ignored)) {
        if (!choice.device && !session.readDevice(read.device))
            return false;
        units = read.device;
    }
    if (choice.device)
        differences = compareDevice(stored.device, read.device, units);
    for (const int n : choice.presets) {
        if (!session.readPreset(n, read.presets[n - 1]))
            return false;
        const auto more = comparePreset(n, stored.presets[n - 1], read.presets[n - 1], units);
        differences.insert(differences.end(), more.begin(), more.end());
    }
    return true;
}

void printDifferences(const std::vector<FieldDifference>& differences) {
    for (const FieldDifference& d : differences) {
        std::string line = d.file + " " + d.field + " " + plainPair("stored", d.stored) + " " +
                           plainPair("encoder", d.encoder);
        if (!d.unit.empty())
            line += " " + plainPair("unit", d.unit);
        std::printf("%s\n", line.c_str());
    }
}

Json differencesJson(const std::vector<FieldDifference>& differences) {
    Json list = Json::array();
    for (const FieldDifference& d : differences) {
        list.push_back({{"file", d.file},
                        {"field", d.field},
                        {"stored", d.stored},
                        {"encoder", d.encoder},
                        {"unit", d.unit}});
    }
    return list;
}

}  // namespace

int runDiffCommand(const Arguments& args) {
    CommandWords words;
    StoredEncoder encoder;
    BlockChoice choice;
    std::string error;
    const int status = takeEncoderChoice(args, {"--json"}, words, encoder, choice, &error);
    const bool json = asksForJson(args);
    if (status != kExitSuccess)
        return failedCommand("diff", json, status, error);
    EncoderBlocks stored;
    if (!readStoredChoice(encoder.folder, choice, stored, &error))
        return failedCommand("diff", json, kExitFailure, error);

    std::vector<FieldDifference> differences;
    JobOutcome outcome;
    {
        LineReporter reporter("diff", encoder.name());
        EncoderSession session(encoder, reporter);
        outcome.ok = readAndCompare(session, choice, stored, differences);
        outcome.failure = session.failure();
    }
    if (json) {
        Json document = {{"command", "diff"}};
        document.update(outcomeJson(encoder.name(), outcome));
        if (outcome.ok) {
            document["equal"] = differences.empty();
            document["differences"] = differencesJson(differences);
        }
        printJson(document);
    } else if (outcome.ok) {
        printDifferences(differences);
    } else {
        failure(outcomeLine(encoder.name(), outcome));
    }
    if (!outcome.ok)
        return kExitFailure;
    return differences.empty() ? kExitSuccess : kExitDifferent;
}

}  // namespace q93::ctl
