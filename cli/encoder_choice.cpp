#include "cli/encoder_choice.h"

#include <filesystem>
#include <system_error>

#include "cli/encoder_names.h"
#include "store/location_store.h"

namespace q93::ctl {

int takeEncoderChoice(const Arguments& args, const std::vector<std::string>& flags,
                      CommandWords& words, StoredEncoder& encoder, BlockChoice& choice,
                      std::string* error, const std::vector<std::string>& valued) {
    std::vector<std::string> allFlags = flags;
    allFlags.push_back("--device");
    std::vector<std::string> allValued = valued;
    allValued.push_back("--presets");
    if (!splitWords(args, allValued, allFlags, words, error))
        return kExitUsage;
    if (words.positional.size() != 1 ||
        !splitEncoderName(words.positional[0], encoder.site, encoder.encoder)) {
        *error = "give one encoder as SITE/ENC";
        return kExitUsage;
    }
    const std::string* presets = words.option("--presets");
    const bool device = words.option("--device") != nullptr;
    if (presets != nullptr && !parsePresetList(*presets, choice.presets)) {
        *error = "--presets takes numbers 1..8 such as 1,3,5-8";
        return kExitUsage;
    }
    if (presets == nullptr && device)
        choice.presets.clear();
    choice.device = device || presets == nullptr;
    encoder.folder = EncoderFolderPath(encoder.site, encoder.encoder);
    std::error_code code;
    if (!std::filesystem::is_directory(encoder.folder, code)) {
        // A folder that is there but cannot be looked at is no unknown encoder.
        const bool absent = !code || code == std::errc::no_such_file_or_directory ||
                            code == std::errc::not_a_directory;
        *error = absent ? unknownEncoderText(words.positional[0])
                        : "cannot read '" + encoder.folder + "': " + code.message();
        return kExitFailure;
    }
    return kExitSuccess;
}

}  // namespace q93::ctl
