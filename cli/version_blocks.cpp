#include "cli/version_blocks.h"

#include "history/settings_history.h"

namespace q93::ctl {

bool readVersionChoice(const std::string& revision, const StoredEncoder& encoder,
                       const BlockChoice& choice, EncoderBlocks& blocks, std::string* shortId,
                       std::string* error) {
    VersionFiles files;
    if (!readVersionFiles(kLocationRoot, revision, {encoder.site, encoder.encoder}, files, error))
        return false;
    const std::string lacks = "version " + files.shortId + " holds no " + encoder.name() + "/";
    if (choice.device) {
        if (!files.device) {
            *error = lacks + kDeviceFileName;
            return false;
        }
        blocks.device = *files.device;
    }
    for (const int n : choice.presets) {
        if (!files.presets[n - 1]) {
            *error = lacks + presetFileName(presetLabel(n));
            return false;
        }
        blocks.presets[n - 1] = *files.presets[n - 1];
    }
    if (!choice.device && files.device)
        blocks.device = *files.device;  // the unit its presets' levels are shown in
    *shortId = files.shortId;
    return true;
}

}  // namespace q93::ctl
