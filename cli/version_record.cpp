#include "cli/version_record.h"

#include <cstdio>

#include "cli/lock_options.h"
#include "history/settings_history.h"
#include "store/encoder_lock.h"
#include "store/location_store.h"

namespace q93::ctl {

bool recordStoredVersion(const std::vector<StoredEncoder>& encoders, std::string* error) {
    if (encoders.empty() || !hasHistory())
        return true;
    EncoderLock lock;
    if (!lockEncoder(historyFolder(), lock, error))
        return false;
    std::vector<EncoderName> names;
    for (const StoredEncoder& encoder : encoders)
        names.push_back({encoder.site, encoder.encoder});
    std::string recorded, note;
    const RecordResult result = recordBackup(kLocationRoot, names, &recorded, &note, error);
    if (!note.empty())
        std::fprintf(stderr, "q93ctl: %s\n", note.c_str());
    switch (result) {
        case RecordResult::Done:
            return true;
        case RecordResult::NotOurs:
            std::fprintf(stderr, "q93ctl: no version recorded: %s\n", error->c_str());
            return true;
        case RecordResult::Failed:
            break;
    }
    *error = "the files are stored, but the history did not record them: " + *error;
    return false;
}

}  // namespace q93::ctl
