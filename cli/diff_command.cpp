#include <cstdio>
#include <optional>

#include "cli/ctl_command.h"
#include "cli/ctl_session.h"
#include "cli/encoder_choice.h"
#include "cli/json_output.h"
#include "cli/version_blocks.h"
#include "store/block_compare.h"

namespace q93::ctl {
namespace {

constexpr int kExitDifferent = 3;

// The fields of the chosen blocks that differ between two sides.
std::vector<FieldDifference> compareChoice(const BlockChoice& choice, const EncoderBlocks& first,
                                           const EncoderBlocks& second,
                                           const DeviceParameters& units) {
    std::vector<FieldDifference> differences;
    if (choice.device)
        differences = compareDevice(first.device, second.device, units);
    for (const int n : choice.presets) {
        const auto more = comparePreset(n, first.presets[n - 1], second.presets[n - 1], units);
        differences.insert(differences.end(), more.begin(), more.end());
    }
    return differences;
}

// Reads what the choice covers from the encoder, each block starting from the stored one
// so that fields the encoder does not send compare equal. The levels are shown in `units`,
// the unit of the stored device file (or the version's), as the desktop tool shows a stored
// preset; without one, in the encoder's.
bool readAndCompare(EncoderSession& session, const BlockChoice& choice, const EncoderBlocks& stored,
                    std::optional<DeviceParameters> units,
                    std::vector<FieldDifference>& differences) {
    EncoderBlocks read = stored;
    if (!session.loadConnection())
        return false;
    if (choice.device && !session.readDevice(read.device))
        return false;
    if (!units) {
        if (!choice.device && !session.readDevice(read.device))
            return false;
        units = read.device;
    }
    for (const int n : choice.presets) {
        if (!session.readPreset(n, read.presets[n - 1]))
            return false;
    }
    differences = compareChoice(choice, stored, read, *units);
    return true;
}

// The names of the two sides in the output.
struct Sides {
    const char* first;
    const char* second;
};
constexpr Sides kStoredAndEncoder{"stored", "encoder"};
constexpr Sides kFromAndTo{"from", "to"};

void printDifferences(const std::vector<FieldDifference>& differences, Sides sides) {
    for (const FieldDifference& d : differences) {
        std::string line = d.file + " " + d.field + " " + plainPair(sides.first, d.stored) + " " +
                           plainPair(sides.second, d.encoder);
        if (!d.unit.empty())
            line += " " + plainPair("unit", d.unit);
        std::printf("%s\n", line.c_str());
    }
}

Json differencesJson(const std::vector<FieldDifference>& differences, Sides sides) {
    Json list = Json::array();
    for (const FieldDifference& d : differences) {
        list.push_back({{"file", d.file},
                        {"field", d.field},
                        {sides.first, d.stored},
                        {sides.second, d.encoder},
                        {"unit", d.unit}});
    }
    return list;
}

int reportDifferences(const std::string& name, const JobOutcome& outcome, bool json,
                      const std::vector<FieldDifference>& differences, Sides sides) {
    if (json) {
        Json document = {{"command", "diff"}};
        document.update(outcomeJson(name, outcome));
        if (outcome.ok) {
            document["equal"] = differences.empty();
            document["differences"] = differencesJson(differences, sides);
        }
        printJson(document);
    } else if (outcome.ok) {
        printDifferences(differences, sides);
    } else {
        failure(outcomeLine(name, outcome));
    }
    if (!outcome.ok)
        return kExitFailure;
    return differences.empty() ? kExitSuccess : kExitDifferent;
}

// One side of the comparison: the stored files, or version `revision` of the history.
// `units` receives its device block when it holds one, to show the levels at.
bool readSide(const std::string* revision, const StoredEncoder& encoder, const BlockChoice& choice,
              EncoderBlocks& blocks, std::optional<DeviceParameters>& units, std::string* error) {
    const BlockChoice deviceOnly{true, {}};
    EncoderBlocks device;
    std::string shortId, ignored;
    if (revision == nullptr) {
        if (!readStoredChoice(encoder.folder, choice, blocks, error))
            return false;
        if (readStoredDevice(encoder.folder, device.device, &ignored))
            units = device.device;
        return true;
    }
    if (!readVersionChoice(*revision, encoder, choice, blocks, &shortId, error))
        return false;
    if (readVersionChoice(*revision, encoder, deviceOnly, device, &shortId, &ignored))
        units = device.device;
    return true;
}

}  // namespace

int runDiffCommand(const Arguments& args) {
    CommandWords words;
    StoredEncoder encoder;
    BlockChoice choice;
    std::string error;
    const int status =
        takeEncoderChoice(args, {"--json"}, words, encoder, choice, &error, {"--from", "--to"});
    const bool json = asksForJson(args);
    if (status != kExitSuccess)
        return failedCommand("diff", json, status, error);
    const std::string* from = words.option("--from");
    const std::string* to = words.option("--to");
    if (to != nullptr && from == nullptr)
        return failedCommand("diff", json, kExitUsage, "--to needs --from");
    EncoderBlocks first;
    std::optional<DeviceParameters> units;
    if (!readSide(from, encoder, choice, first, units, &error))
        return failedCommand("diff", json, kExitFailure, error);

    std::vector<FieldDifference> differences;
    JobOutcome outcome;
    if (to != nullptr) {
        EncoderBlocks second;
        if (!readSide(to, encoder, choice, second, units, &error))
            return failedCommand("diff", json, kExitFailure, error);
        outcome.ok = true;
        differences = compareChoice(choice, first, second, units.value_or(DeviceParameters{}));
        return reportDifferences(encoder.name(), outcome, json, differences, kFromAndTo);
    }
    {
        LineReporter reporter("diff", encoder.name());
        CtlSession session(encoder, reporter);
        outcome.ok = readAndCompare(session, choice, first, units, differences);
        outcome.failure = session.failure();
    }
    return reportDifferences(encoder.name(), outcome, json, differences, kStoredAndEncoder);
}

}  // namespace q93::ctl
