#include "watch/settings_drift.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <span>

#include "protocol/device_transfer.h"
#include "protocol/parameter_files.h"
#include "protocol/preset_transfer.h"
#include "protocol/transfer_steps.h"
#include "store/location_store.h"
#include "watch/encoder_exchanges.h"

namespace q93::watch {
namespace {

// Every connection costs the watch about ten times a row's CPU time (a reader thread, the
// settings file, the connect), so a block's rows share one exchange, the transfer a backup
// runs for that block, as a poll's clock read is one: 9 exchanges an encoder, not 236. A
// transfer of another program then waits for one block read at most (28 rows). One row an
// exchange would cost the watch ten times the CPU (see bench/watch_bench.sh).
constexpr std::size_t kRowsPerExchange = 28;

// Reads a block into `block` (which holds the stored start), kRowsPerExchange rows of its
// table an exchange.
template <typename Block>
bool readRows(EncoderExchanges& exchanges, const std::string& what,
              std::span<const steps::ReadStep<Block>> table, int progressTextId, bool shortForm,
              int presetNumber, Block& block) {
    for (std::size_t row = 0; row < table.size(); row += kRowsPerExchange) {
        const std::size_t rows = std::min(kRowsPerExchange, table.size() - row);
        const bool read = exchanges.framed(
            what + ", steps " + std::to_string(row + 1) + " to " + std::to_string(row + rows) +
                " of " + std::to_string(table.size()),
            [&](DeviceConnection& connection) {
                return steps::runReadSteps(connection, table.subspan(row, rows), block);
            },
            progressTextId, shortForm, presetNumber);
        if (!read)
            return false;
    }
    return true;
}

struct StoredBlocks {
    DeviceParameters device;
    std::array<std::optional<PresetParameters>, kPresetsPerEncoder> presets;
};

bool readStored(const std::string& folder, StoredBlocks& stored) {
    std::string ignored;
    if (!readWholeDeviceFile(deviceFilePath(folder), stored.device, &ignored))
        return false;
    for (int n = 1; n <= kPresetsPerEncoder; ++n) {
        PresetParameters preset;
        if (readWholePresetFile(presetFilePath(folder, n), preset, &ignored)) {
            preset.presetNumber = n;
            stored.presets[n - 1] = preset;
        }
    }
    return true;
}

double modifiedAt(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return 0;
    return static_cast<double>(status.st_mtim.tv_sec) +
           static_cast<double>(status.st_mtim.tv_nsec) / 1e9;
}

}  // namespace

SettingsDrift readSettingsDrift(const std::string& encoderFolder,
                                std::chrono::milliseconds lockWait,
                                const std::function<bool()>& stopping) {
    SettingsDrift drift;
    StoredBlocks stored;
    if (!readStored(encoderFolder, stored))
        return drift;
    EncoderExchanges exchanges(encoderFolder, lockWait, stopping);
    const auto failed = [&drift, &exchanges] {
        drift.result = CompareResult::ReadFailed;
        drift.link = exchanges.link();
        drift.failure = exchanges.failure();
        drift.files.clear();
        drift.differences.clear();
        return drift;
    };
    DeviceParameters device = stored.device;
    if (!readRows(exchanges, "read device", deviceReadSteps(), EncoderExchanges::kReadingDevice,
                  true, 0, device))
        return failed();
    drift.files.push_back(kDeviceFileName);
    drift.differences = compareDevice(stored.device, device, stored.device);
    for (int n = 1; n <= kPresetsPerEncoder; ++n) {
        if (!stored.presets[n - 1])
            continue;
        PresetParameters preset = *stored.presets[n - 1];
        if (!readRows(exchanges, "read preset " + std::to_string(n), presetReadSteps(),
                      EncoderExchanges::kReadingPreset, false, n, preset))
            return failed();
        drift.files.push_back(presetFileName(presetLabel(n)));
        const auto more = comparePreset(n, *stored.presets[n - 1], preset, stored.device);
        drift.differences.insert(drift.differences.end(), more.begin(), more.end());
    }
    drift.result = CompareResult::Compared;
    drift.link = exchanges.link();
    return drift;
}

std::vector<std::pair<std::string, int>> differingFieldCounts(const SettingsDrift& drift) {
    std::vector<std::pair<std::string, int>> counts;
    for (const std::string& file : drift.files) {
        int count = 0;
        for (const FieldDifference& difference : drift.differences)
            count += difference.file == file ? 1 : 0;
        counts.emplace_back(file, count);
    }
    return counts;
}

std::string differingFieldNames(const std::vector<FieldDifference>& differences) {
    std::string names;
    for (const FieldDifference& difference : differences)
        names += (names.empty() ? "" : " ") + difference.file + ":" + difference.field;
    return names;
}

std::optional<double> storedFilesWrittenAt(const std::string& encoderFolder) {
    double newest = modifiedAt(deviceFilePath(encoderFolder));
    for (int n = 1; n <= kPresetsPerEncoder; ++n)
        newest = std::max(newest, modifiedAt(presetFilePath(encoderFolder, n)));
    return newest > 0 ? std::optional<double>(newest) : std::nullopt;
}

}  // namespace q93::watch
