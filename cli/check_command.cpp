#include <cstdio>
#include <filesystem>
#include <system_error>

#include "cli/command_words.h"
#include "cli/encoder_names.h"
#include "cli/json_output.h"
#include "store/stored_blocks.h"
#include "store/location_store.h"

namespace q93::ctl {
namespace {

constexpr int kExitOutOfRange = 3;

// What the check found so far, for the exit status: an unreadable file outweighs a value out
// of range, since nothing is known about the file.
struct CheckTally {
    bool unreadable = false;
    bool outOfRange = false;

    int status() const {
        if (unreadable)
            return kExitFailure;
        return outOfRange ? kExitOutOfRange : kExitSuccess;
    }
};

void checkFile(const std::string& path, CheckTally& tally) {
    BlockFile file;
    std::string error;
    if (!readBlockFile(path, file, &error)) {
        failure(error);
        tally.unreadable = true;
        return;
    }
    const std::vector<RangeViolation> fields =
        file.isPreset ? presetOutOfRange(file.preset, sensitivityBeside(path))
                      : deviceOutOfRange(file.device);
    const std::string name = plainValue(path);
    if (fields.empty())
        std::printf("%s ok\n", name.c_str());
    for (const RangeViolation& field : fields) {
        std::printf("%s out-of-range %s=%s %s\n", name.c_str(), field.field.c_str(),
                    field.value.c_str(), plainPair("range", field.range).c_str());
    }
    tally.outOfRange = tally.outOfRange || !fields.empty();
}

// The stored files an encoder folder holds; one that is missing is nothing to check. A
// tcp.txt that did not come from the tool counts as a value out of range: it reads, but
// not as it was meant.
void checkEncoder(const StoredEncoder& encoder, CheckTally& tally) {
    if (!encoder.unreadable.empty()) {
        failure(encoder.unreadable);
        tally.unreadable = true;
        return;
    }
    ConnectionSettings settings;
    if (ReadConnectionSettings(encoder.folder, settings) == 0 && !settings.doubt.empty()) {
        std::printf("%s doubtful %s\n", plainValue(encoder.folder + "tcp.txt").c_str(),
                    plainPair("reason", settings.doubt).c_str());
        tally.outOfRange = true;
    }
    const StoredFiles files = findStoredFiles(encoder.folder);
    if (files.device)
        checkFile(deviceFilePath(encoder.folder), tally);
    for (int n = 1; n <= kPresetsPerEncoder; ++n) {
        if (files.presets[n - 1])
            checkFile(presetFilePath(encoder.folder, n), tally);
    }
}

bool isFile(const std::string& word) {
    std::error_code code;
    return std::filesystem::is_regular_file(word, code);
}

}  // namespace

int runCheckCommand(const Arguments& args) {
    CommandWords words;
    std::string error;
    if (!splitWords(args, {}, {}, words, &error))
        return usageError(error);
    CheckTally tally;
    if (words.positional.empty()) {
        std::vector<StoredEncoder> encoders;
        if (!selectEncoders({}, encoders, &error))
            return failure(error);
        if (encoders.empty())
            return failure(std::string("no encoder under ") + kLocationRoot);
        for (const StoredEncoder& encoder : encoders)
            checkEncoder(encoder, tally);
        return tally.status();
    }
    for (const std::string& word : words.positional) {
        if (isFile(word)) {
            checkFile(word, tally);
            continue;
        }
        std::vector<StoredEncoder> encoders;
        if (!selectEncoders({word}, encoders, &error)) {
            failure(error);
            tally.unreadable = true;
            continue;
        }
        for (const StoredEncoder& encoder : encoders)
            checkEncoder(encoder, tally);
    }
    return tally.status();
}

}  // namespace q93::ctl
