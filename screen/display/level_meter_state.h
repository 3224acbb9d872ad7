#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "screen/display/colour_value.h"

namespace q93 {

// One bar of the meter.
struct ChannelLevel {
    std::int32_t level = 0;  // current value
    std::int32_t peak = 0;   // held peak value
    std::int32_t hold = 0;   // ticks left before the peak starts to fall
};

// Everything the meter is set to, with its values after construction. Values are plain
// integers from 0 to fullScale; the meter knows no units.
struct MeterSettings {
    ColourValue backgroundColour = 0;
    ColourValue lowColour = rgbColour(0, 255, 0);
    ColourValue midColour = rgbColour(255, 255, 0);
    ColourValue highColour = rgbColour(255, 0, 0);
    std::int32_t lowLimit = 60;
    std::int32_t highLimit = 80;
    std::int32_t fullScale = 100;
    std::uint32_t channelCount = 8;
    std::int32_t segmentCount = 8;  // 1 or less: derived from fullScale
    std::int32_t holdTicks = 10;
    // 0 plain; 1 unlit segments shaded and marker lines; other values marker lines only.
    std::uint8_t markerStyle = 0;
    bool showPeak = true;
};

// What drawing and ticking derive from the settings. All divisions truncate toward zero.
// Segments per bar: segmentCount when above 1, else fullScale * 10 / 100.
int effectiveSegments(const MeterSettings& settings);
// The first segment of the middle and of the high zone.
int middleZoneStart(const MeterSettings& settings);
int highZoneStart(const MeterSettings& settings);
// Segments a value lights.
int litSegments(const MeterSettings& settings, std::int32_t value);
// The colour of segment j of a bar that lights `lit` segments.
ColourValue segmentColour(const MeterSettings& settings, int j, int lit);

// The settings and the channel table, behind one lock: the poll worker updates levels, the
// timer thread decays them and the GUI thread paints them, and each sees whole records.
class LevelMeterState {
public:
    struct Snapshot {
        MeterSettings settings;
        std::vector<ChannelLevel> channels;
    };

    explicit LevelMeterState(ColourValue backgroundColour);

    // Exactly channelCount records, each at full scale with a fresh hold.
    void reset();
    // Refused (false, nothing changed) when either number is 0; otherwise stores both and
    // resets the table.
    bool setChannels(std::uint32_t count, std::int32_t segments);
    // Stores the limits only: the records keep their values.
    void setZones(std::int32_t lowLimit, std::int32_t highLimit, std::int32_t fullScale);
    // True when the low byte of `style` differed and was stored.
    bool setMarkerStyle(int style);
    // Stores values[i] for channels first to first + count - 1 that exist; a value above
    // the held peak becomes the new peak with a fresh hold.
    void storeLevels(const std::int32_t* values, int first, int count);
    // One decay step over every record; true when all of them were already at rest.
    bool decay();

    Snapshot snapshot() const;
    std::vector<ChannelLevel> channels() const;
    MeterSettings settings() const;

private:
    void resetLocked();

    mutable std::mutex mutex_;
    MeterSettings settings_;
    std::vector<ChannelLevel> table_;
};

}  // namespace q93
