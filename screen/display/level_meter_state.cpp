#include "screen/display/level_meter_state.h"

#include <algorithm>

namespace q93 {
namespace {

// value * segments / fullScale without overflowing on large values; a full scale of 0
// shows nothing rather than dividing by it.
int scaled(std::int64_t value, int segments, std::int32_t fullScale) {
    if (fullScale == 0)
        return 0;
    return static_cast<int>(value * segments / fullScale);
}

}  // namespace

int effectiveSegments(const MeterSettings& settings) {
    if (settings.segmentCount > 1)
        return settings.segmentCount;
    return settings.fullScale * 10 / 100;
}

int middleZoneStart(const MeterSettings& settings) {
    return scaled(settings.lowLimit, effectiveSegments(settings), settings.fullScale);
}

int highZoneStart(const MeterSettings& settings) {
    return scaled(settings.highLimit, effectiveSegments(settings), settings.fullScale);
}

int litSegments(const MeterSettings& settings, std::int32_t value) {
    return scaled(value, effectiveSegments(settings), settings.fullScale);
}

ColourValue segmentColour(const MeterSettings& settings, int j, int lit) {
    const ColourValue unlit = settings.markerStyle == 1
                                  ? darkenColour(settings.backgroundColour, 15)
                                  : settings.backgroundColour;
    if (j >= lit)
        return unlit;
    const int z1 = middleZoneStart(settings);
    const int z2 = highZoneStart(settings);
    if (j >= 0 && j <= z1 - 1)
        return settings.lowColour;
    if (j >= z1 && j <= z2 - 1)
        return settings.midColour;
    if (j >= z2 && j <= effectiveSegments(settings))
        return settings.highColour;
    return unlit;
}

LevelMeterState::LevelMeterState(ColourValue backgroundColour) {
    settings_.backgroundColour = backgroundColour;
}

void LevelMeterState::reset() {
    std::lock_guard lock(mutex_);
    resetLocked();
}

void LevelMeterState::resetLocked() {
    table_.resize(settings_.channelCount);
    for (ChannelLevel& record : table_)
        record = {settings_.fullScale, settings_.fullScale, settings_.holdTicks};
}

bool LevelMeterState::setChannels(std::uint32_t count, std::int32_t segments) {
    if (count == 0 || segments == 0)
        return false;
    std::lock_guard lock(mutex_);
    settings_.channelCount = count;
    settings_.segmentCount = segments;
    resetLocked();
    return true;
}

void LevelMeterState::setZones(std::int32_t lowLimit, std::int32_t highLimit,
                               std::int32_t fullScale) {
    std::lock_guard lock(mutex_);
    settings_.lowLimit = lowLimit;
    settings_.highLimit = highLimit;
    settings_.fullScale = fullScale;
}

bool LevelMeterState::setMarkerStyle(int style) {
    const auto low = static_cast<std::uint8_t>(style & 0xFF);
    std::lock_guard lock(mutex_);
    if (low == settings_.markerStyle)
        return false;
    settings_.markerStyle = low;
    return true;
}

void LevelMeterState::storeLevels(const std::int32_t* values, int first, int count) {
    std::lock_guard lock(mutex_);
    for (int i = first; i < first + count; ++i) {
        if (i < 0 || static_cast<std::size_t>(i) >= table_.size())
            continue;
        ChannelLevel& record = table_[static_cast<std::size_t>(i)];
        record.level = values[i];
        if (record.peak < values[i]) {
            record.peak = values[i];
            record.hold = settings_.holdTicks;
        }
    }
}

bool LevelMeterState::decay() {
    std::lock_guard lock(mutex_);
    // Below two segments the steps are fixed: a tenth of the full scale for the level, 5
    // for the peak.
    const bool bySegments = settings_.segmentCount >= 2;
    const std::int32_t step = bySegments ? settings_.fullScale / settings_.segmentCount : 0;
    const std::int32_t levelStep = bySegments ? step : settings_.fullScale * 10 / 100;
    const std::int32_t peakStep = bySegments ? step >> 1 : 5;
    bool atRest = true;
    for (ChannelLevel& record : table_) {
        if (record.level > 0) {
            record.level = std::max(0, record.level - levelStep);
            atRest = false;
        }
        // A new peak is held for holdTicks - 1 whole ticks and falls from the tick that
        // brings hold to 0; a negative hold keeps it for good.
        bool falls = record.hold == 0;
        if (record.hold > 0) {
            --record.hold;
            atRest = false;
            falls = record.hold == 0;
        }
        if (falls && record.peak > 0) {
            record.peak = std::max(0, record.peak - peakStep);
            atRest = false;
        }
    }
    return atRest;
}

LevelMeterState::Snapshot LevelMeterState::snapshot() const {
    std::lock_guard lock(mutex_);
    return {settings_, table_};
}

std::vector<ChannelLevel> LevelMeterState::channels() const {
    std::lock_guard lock(mutex_);
    return table_;
}

MeterSettings LevelMeterState::settings() const {
    std::lock_guard lock(mutex_);
    return settings_;
}

}  // namespace q93
