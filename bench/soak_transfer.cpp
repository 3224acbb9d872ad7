#include "bench/soak_transfer.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>

#include "bench/soak_blocks.h"
#include "protocol/clock_transfer.h"
#include "protocol/device_connection.h"
#include "protocol/device_transfer.h"
#include "protocol/level_query.h"
#include "protocol/parameter_files.h"
#include "protocol/preset_transfer.h"

namespace q93::soak {
namespace {

// The node is saved after one read in this many, and edits are saved before one write in
// this many, as leaving a node does; every other file must stay as it was.
constexpr int kSaveOneIn = 5;

// Values no read gives, so that a status value or clock field left alone shows.
constexpr std::int32_t kUnreadStatus = -77;
constexpr int kUnreadClock = -5;
constexpr double kUnread = std::numeric_limits<double>::quiet_NaN();

// Where q93sim's readings wander: the deviation of the two channels, then MPX deviation,
// modulation power, pilot deviation (around the active preset's pilot level), the analog
// inputs and the AES/EBU input. A reading decoded from the wrong bytes lands far outside.
struct Range {
    double low;
    double high;
};
constexpr Range kLevelSet0[] = {{20, 70}, {20, 70}};
constexpr Range kLevelSet1[] = {{60, 76}, {-4, 2}, {0, 0}, {-12, 4}, {-12, 4}, {-18, -6}};
constexpr std::size_t kPilotReading = 2;
constexpr double kPilotSwing = 0.1;

ClockValues randomClock(std::mt19937_64& rng) {
    auto in = [&rng](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(rng);
    };
    // Two-digit years 69 and 99 would roll over into the other century while being read.
    int year = in(0, 97);
    if (year == 69)
        year = 70;
    return {year,
            in(1, 12),
            in(1, 28),
            in(0, 23),
            in(0, 59),
            in(0, 59),
            OffsetCodeFromEntry(in(0, kOffsetEntryCount - 1))};
}

std::string clockText(const ClockValues& v) {
    char text[64];
    std::snprintf(text, sizeof text, "%02d-%02d-%02d %02d:%02d:%02d offset %02x", v.year, v.month,
                  v.day, v.hour, v.minute, v.second, v.offsetCode);
    return text;
}

template <std::size_t N>
void markUnread(std::array<std::atomic<double>, N>& readings) {
    for (auto& reading : readings)
        reading.store(kUnread);
}

template <std::size_t N>
bool allUnread(const std::array<std::atomic<double>, N>& readings) {
    for (const auto& reading : readings) {
        if (!std::isnan(reading.load()))
            return false;
    }
    return true;
}

}  // namespace

TransferRunner::TransferRunner(LocationFiles& files, std::mt19937_64& rng)
    : files_(files), rng_(rng) {
    installFrameLogger(&counter_);
}

TransferRunner::~TransferRunner() {
    installFrameLogger(nullptr);
}

template <typename Procedure>
const Outcome* TransferRunner::call(Link link, Procedure procedure) {
    const ConnectionSettings s = files_.connection(link);
    DeviceConnection connection;
    connection.SetParameters(s.portName, s.ipAddress, s.tcpPort, s.speedIndex, s.readAck);
    seam_.warnings.clear();
    seam_.events.clear();
    counter_.sent = 0;
    const auto start = SteadyClock::now();
    report_.result = procedure(connection);
    report_.seconds = std::chrono::duration<double>(SteadyClock::now() - start).count();
    report_.messages = seam_.warnings;
    report_.requests = counter_.sent;
    for (std::size_t i = 0; i < expected_->accepted.size(); ++i) {
        if (matches(expected_->accepted[i], report_.result, report_.messages)) {
            report_.matched = static_cast<int>(i);
            return &expected_->accepted[i];
        }
    }
    return nullptr;
}

// Every transfer but the level query shows a popup while it runs, and removes it whatever
// the outcome.
void TransferRunner::checkPopup(Kind kind) {
    const std::vector<std::string>& events = seam_.events;
    const auto count = [&events](const char* event) {
        return std::count(events.begin(), events.end(), event);
    };
    const bool none = events.empty();
    const bool one = count("create") == 1 && count("destroy") == 1 && events.back() == "destroy";
    if (kind == Kind::Levels ? !none : !one) {
        std::string seen;
        for (const std::string& event : events)
            seen += " " + event;
        problem("progress popup:" + (seen.empty() ? std::string(" none") : seen));
    }
}

void TransferRunner::saveProblem(const std::string& text) {
    if (!text.empty())
        problem("save: " + text);
}

TransferReport TransferRunner::run(const Planned& t, const Expected& expected,
                                   SoakEncoder& encoder) {
    report_ = {};
    expected_ = &expected;
    switch (t.kind) {
        case Kind::ReadPreset:
            readPreset(t, encoder);
            break;
        case Kind::WritePreset:
            writePreset(t, encoder);
            break;
        case Kind::ReadDevice:
            readDevice(t, encoder);
            break;
        case Kind::WriteDevice:
            writeDevice(t, encoder);
            break;
        case Kind::ReadClock:
            readClock(t, encoder);
            break;
        case Kind::WriteClock:
            writeClock(t, encoder);
            break;
        case Kind::Levels:
            queryLevels(t, encoder);
            break;
    }
    if (report_.matched >= 0) {
        const Outcome& o = expected.accepted[static_cast<std::size_t>(report_.matched)];
        const int wanted = o.failStep > 0 ? o.failStep : requestCount(t.kind);
        if (report_.requests != wanted)
            problem(std::to_string(report_.requests) + " requests sent where " +
                    std::to_string(wanted) + " belong");
    }
    checkPopup(t.kind);
    const std::string changed = files_.changes();
    if (!changed.empty())
        problem("stored files changed without a save:" + changed);
    return report_;
}

void TransferRunner::readPreset(const Planned& t, SoakEncoder& encoder) {
    ParameterSet set;
    const PresetParameters before = files_.preset(t.link, t.preset);
    set.preset = before;
    const Outcome* o =
        call(t.link, [&set](DeviceConnection& c) { return ReadPreset(c, set.preset); });
    if (o == nullptr)
        return;
    const PresetParameters expected = expectedAfterRead(
        presetReadSteps(), 0, before, encoder.presets[static_cast<std::size_t>(t.preset - 1)], *o);
    compareFields(presetReadSteps(), 0, expected, set.preset, report_.problems);
    if (encodePreset(expected) != encodePreset(set.preset) && report_.problems.empty())
        problem("the read changed a preset field that no step reads");
    if (o->failStep == 0 && std::uniform_int_distribution<int>(1, kSaveOneIn)(rng_) == 1)
        saveProblem(files_.savePreset(t.link, t.preset, set.preset));
}

void TransferRunner::writePreset(const Planned& t, SoakEncoder& encoder) {
    ParameterSet set;
    PresetParameters edited = files_.preset(t.link, t.preset);
    editFields(presetWriteSteps(), edited, rng_);
    if (std::uniform_int_distribution<int>(1, kSaveOneIn)(rng_) == 1)
        saveProblem(files_.savePreset(t.link, t.preset, edited));
    set.preset = edited;
    call(t.link, [&set](DeviceConnection& c) { return WritePreset(c, set.preset); });
    if (encodePreset(set.preset) != encodePreset(edited))
        problem("the write changed the parameter set");
    // Every request that went out reached the encoder, the failing one included.
    applyWrite(presetWriteSteps(), report_.requests, edited,
               encoder.presets[static_cast<std::size_t>(t.preset - 1)]);
    const std::string differing = encoder.storeDifference();
    if (!differing.empty()) {
        problem("the encoder holds other values than were sent:" + differing);
        encoder.reloadHeld();
    }
}

void TransferRunner::readDevice(const Planned& t, SoakEncoder& encoder) {
    ParameterSet set;
    const DeviceParameters before = files_.device(t.link);
    const DeviceStatus unread{kUnreadStatus, kUnreadStatus, kUnreadStatus, kUnreadStatus};
    set.device = before;
    set.status = unread;
    const Outcome* o =
        call(t.link, [&set](DeviceConnection& c) { return ReadDevice(c, set.device, set.status); });
    if (o == nullptr)
        return;
    const int settingSteps = static_cast<int>(deviceReadSteps().size());
    const DeviceParameters expected =
        expectedAfterRead(deviceReadSteps(), 0, before, encoder.device, *o);
    const DeviceStatus heldStatus = encoder.status();
    const DeviceStatus expectedStatus =
        expectedAfterRead(statusReadSteps(), settingSteps, unread, heldStatus, *o);
    compareFields(deviceReadSteps(), 0, expected, set.device, report_.problems);
    compareFields(statusReadSteps(), settingSteps, expectedStatus, set.status, report_.problems);
    if (encodeDevice(expected) != encodeDevice(set.device) && report_.problems.empty())
        problem("the read changed a device field that no step reads");
    if (o->failStep == 0 && std::uniform_int_distribution<int>(1, kSaveOneIn)(rng_) == 1)
        saveProblem(files_.saveDevice(t.link, set.device));
}

void TransferRunner::writeDevice(const Planned& t, SoakEncoder& encoder) {
    ParameterSet set;
    DeviceParameters edited = files_.device(t.link);
    editFields(deviceWriteSteps(), edited, rng_);
    if (std::uniform_int_distribution<int>(1, kSaveOneIn)(rng_) == 1)
        saveProblem(files_.saveDevice(t.link, edited));
    set.device = edited;
    call(t.link, [&set](DeviceConnection& c) { return WriteDevice(c, set.device); });
    if (encodeDevice(set.device) != encodeDevice(edited))
        problem("the write changed the parameter set");
    applyWrite(deviceWriteSteps(), report_.requests, edited, encoder.device);
    const std::string differing = encoder.storeDifference();
    if (!differing.empty()) {
        problem("the encoder holds other values than were sent:" + differing);
        encoder.reloadHeld();
    }
}

void TransferRunner::readClock(const Planned& t, SoakEncoder& encoder) {
    const ClockValues unread{kUnreadClock, kUnreadClock, kUnreadClock, kUnreadClock,
                             kUnreadClock, kUnreadClock, kUnreadClock};
    ClockValues read = unread;
    SteadyClock::time_point from, until;
    const Outcome* o = call(t.link, [&](DeviceConnection& c) {
        from = SteadyClock::now();
        const int result = ReadRtc(c, read);
        until = SteadyClock::now();
        return result;
    });
    if (o == nullptr)
        return;
    if (o->failStep == 0 && !clockFits(encoder.clock, read, from, until))
        problem("clock read as " + clockText(read) + ", not as set");
    if (o->failStep != 0 && read != unread)
        problem("a failed clock read gave values: " + clockText(read));
}

void TransferRunner::writeClock(const Planned& t, SoakEncoder& encoder) {
    const ClockValues values = randomClock(rng_);
    SteadyClock::time_point from, until;
    call(t.link, [&](DeviceConnection& c) {
        from = SteadyClock::now();
        const int result = WriteRtc(c, values);
        until = SteadyClock::now();
        return result;
    });
    // The one request reaches the encoder whatever becomes of its acknowledgement.
    if (report_.requests > 0)
        encoder.clock = {clockSeconds(values), values.offsetCode, from, until, false};
}

void TransferRunner::queryLevels(const Planned& t, SoakEncoder& encoder) {
    LevelReadings levels;
    markUnread(levels.levelSet0);
    markUnread(levels.levelSet1);
    // The measurement loop's way: its own connection, opened for the queries.
    const Outcome* o = call(t.link, [&t, &levels](DeviceConnection& c) {
        if (c.open() != 0)
            return -1;
        const int result = QueryLevels(c, t.selector, levels);
        c.close();
        return result;
    });
    if (o == nullptr)
        return;
    const bool first = t.selector == 0;
    if (o->failStep != 0 || !first) {
        if (!allUnread(levels.levelSet0))
            problem("level set 0 changed although it was not read");
    }
    if (o->failStep != 0 || first) {
        if (!allUnread(levels.levelSet1))
            problem("level set 1 changed although it was not read");
    }
    if (o->failStep != 0)
        return;
    const double pilot = encoder.activePreset().pilotLevel;
    const Range* ranges = first ? kLevelSet0 : kLevelSet1;
    const std::size_t count = first ? levels.levelSet0.size() : levels.levelSet1.size();
    for (std::size_t i = 0; i < count; ++i) {
        const double value = first ? levels.levelSet0[i].load() : levels.levelSet1[i].load();
        Range range = ranges[i];
        if (!first && i == kPilotReading) {
            const double swing = kPilotSwing + std::fabs(pilot) * 1e-6;
            range = {pilot - swing, pilot + swing};
        }
        if (!(value >= range.low && value <= range.high))
            problem("level reading " + std::to_string(i) + " of set " + std::to_string(t.selector) +
                    " is " + valueText(value) + ", outside " + valueText(range.low) + " to " +
                    valueText(range.high));
    }
}

}  // namespace q93::soak
