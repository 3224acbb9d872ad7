#include <gtest/gtest.h>

#include <cmath>

#include "watch/clock_offset.h"
#include "watch/health_board.h"
#include "watch/health_json.h"
#include "watch/metric_text.h"
#include "watch/metrics_server.h"

namespace q93::watch {
namespace {

// A clock read back at the PC's local time plus `ahead` seconds, with an offset code.
ClockValues clockAhead(const timespec& now, long ahead, int offsetCode) {
    std::tm local{};
    const std::time_t shown = now.tv_sec + ahead;
    localtime_r(&shown, &local);
    return ComposeClock(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                        local.tm_min, local.tm_sec, offsetCode);
}

TEST(ClockOffset, TakesTheClocksTimeZoneOffsetOffBeforeComparing) {
    const timespec now{1'700'000'000, 0};
    struct Case {
        long ahead;
        int offsetCode;
        double expected;
    } const cases[] = {
        {0, 0x00, 0.5},           // set with "PC Time": the middle of the second shown
        {10, 0x00, 10.5},         // a drifting clock
        {3600, 0x02, 0.5},        // +1:00, an hour ahead of the PC's zone
        {-1800, 0x21, 0.5},       // -0:30
        {-43200, 0x38, 0.5},      // -12:00
        {-5, 0x02, -3600 - 4.5},  // +1:00 on a clock left at the PC's time
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offsetCode);
        EXPECT_DOUBLE_EQ(clockOffsetSeconds(clockAhead(now, c.ahead, c.offsetCode), now),
                         c.expected);
    }
}

TEST(ListenAddress, TakesAHostAndAPortOnly) {
    struct Case {
        const char* text;
        bool ok;
        const char* host;
        int port;
    } const cases[] = {
        {"127.0.0.1:9393", true, "127.0.0.1", 9393},
        {"[::1]:0", true, "::1", 0},
        {"0.0.0.0:65535", true, "0.0.0.0", 65535},
        {"127.0.0.1:65536", false, "", 0},
        {"127.0.0.1", false, "", 0},
        {":9393", false, "", 0},
        {"::1:9393", false, "", 0},
        {"[]:9393", false, "", 0},
        {"127.0.0.1:93x", false, "", 0},
        {"127.0.0.1:-1", false, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ListenAddress address;
        ASSERT_EQ(parseListenAddress(c.text, address), c.ok);
        if (c.ok) {
            EXPECT_EQ(address.host, c.host);
            EXPECT_EQ(address.port, c.port);
        }
    }
}

// What a worker sends back is what the board shows: every field survives the trip, and
// anything unreadable reads as an encoder that did not answer.
TEST(HealthJson, CarriesEveryFieldAndReadsGarbageAsDown) {
    EncoderHealth health;
    health.up = true;
    health.link = "serial";
    health.pollSeconds = 0.25;
    health.finishedAt = 1.7e9;
    health.clockOffsetSeconds = -2.5;
    health.status = {2, 3, 1, 0};
    health.levelSet0 = {1.5, 2.5};
    health.levelSet1 = {1, 2, 3, 4, 5, 6};
    const EncoderHealth back = healthFromJson(healthJson(health));
    EXPECT_EQ(healthJson(back), healthJson(health));
    EXPECT_EQ(back.status.analogChannels, 1);
    EXPECT_FALSE(healthFromJson(nlohmann::ordered_json::array()).up);
    EXPECT_FALSE(healthFromJson(nlohmann::ordered_json{{"levelSet0", {1}}}).up);
}

TEST(MetricText, EscapesNamesAndLeavesOutWhatADownEncoderDidNotBring) {
    WatchedEncoder answering;
    answering.site = "Berg \"Süd\"";
    answering.encoder = "a\\b\nc";
    answering.latest.up = true;
    answering.latest.link = "tcp";
    answering.latest.clockOffsetSeconds = 10.25;
    answering.latest.levelSet1[5] = NAN;
    answering.lastSuccessAt = 1700000000.5;
    WatchedEncoder silent;
    silent.site = "T\xe4l";  // Windows-1252, as a LocationData copied from Windows has it
    silent.encoder = "E1";
    silent.latest.link = "serial";
    silent.latest.pollSeconds = 1.01;
    const std::string text = metricText({answering, silent}, {21, 3});

    const std::string a = R"(site="Berg \"Süd\"",encoder="a\\b\nc",link="tcp")";
    const std::string s = "site=\"T\xc3\xa4l\",encoder=\"E1\",link=\"serial\"";
    for (const std::string& line : {
             "q93_up{" + a + "} 1\n",
             "q93_up{" + s + "} 0\n",
             "q93_poll_duration_seconds{" + s + "} 1.01\n",
             "q93_last_success_timestamp_seconds{" + a + "} 1700000000.5\n",
             "q93_clock_offset_seconds{" + a + "} 10.25\n",
             "q93_level{" + a + ",set=\"levelSet1\",index=\"6\"} NaN\n",
             std::string("# TYPE q93_watch_polls_total counter\nq93_watch_polls_total 21\n"),
             std::string("q93_watch_poll_errors_total 3\n"),
         }) {
        EXPECT_NE(text.find(line), std::string::npos) << line << "\nin\n" << text;
    }
    for (const char* family : {"q93_last_success_timestamp_seconds", "q93_clock_offset_seconds",
                               "q93_current_input", "q93_level"}) {
        EXPECT_EQ(text.find(std::string(family) + "{" + s), std::string::npos) << family;
    }
}

// The drift the board shows through a run of settings reads: a comparison shows per file, a
// failed read leaves what showed (or nothing), an encoder whose stored files are gone shows
// none; the backup time carries no link label. Every read of stored files counts.
TEST(HealthBoard, ShowsTheLastComparedDriftAndDropsItWithTheStoredFiles) {
    const HealthBoard::Name tower{"Hilltop", "Tower"};
    HealthBoard board({tower});
    EncoderHealth polled;
    polled.up = true;
    polled.link = "tcp";
    board.record(tower, polled);
    board.recordBackupTime(tower, 1700000000.25);

    SettingsDrift compared;
    compared.result = CompareResult::Compared;
    compared.link = "tcp";
    compared.files = {"device.dat", "Preset-1.dat", "Preset-3.dat"};
    compared.differences = {{"Preset-3.dat", "pilotLevel", "6.8", "7.5", "kHz"},
                            {"Preset-3.dat", "preemphasis", "1", "2", ""}};
    SettingsDrift failed;
    failed.result = CompareResult::ReadFailed;
    const SettingsDrift unstored;  // NothingStored

    const std::string l = "site=\"Hilltop\",encoder=\"Tower\",link=\"tcp\"";
    const std::string drift = "q93_settings_drift{" + l + "} ";
    const std::string preset3 = "q93_settings_differing_fields{" + l + ",file=\"Preset-3.dat\"} ";
    struct Step {
        const SettingsDrift* read;
        const char* driftShown;  // nullptr: no drift series
        const char* preset3Shown;
        int reads;
    } const steps[] = {
        {&failed, nullptr, nullptr, 1},   {&compared, "1", "2", 2},       {&failed, "1", "2", 3},
        {&unstored, nullptr, nullptr, 3}, {&failed, nullptr, nullptr, 4},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(i);
        board.recordDrift(tower, *steps[i].read);
        const std::string text = board.metrics();
        if (steps[i].driftShown == nullptr) {
            EXPECT_EQ(text.find("q93_settings_drift{"), std::string::npos) << text;
            EXPECT_EQ(text.find("q93_settings_differing_fields{"), std::string::npos) << text;
        } else {
            EXPECT_NE(text.find(drift + steps[i].driftShown + "\n"), std::string::npos) << text;
            EXPECT_NE(text.find(preset3 + steps[i].preset3Shown + "\n"), std::string::npos) << text;
            EXPECT_NE(text.find("q93_settings_differing_fields{" + l + ",file=\"device.dat\"} 0\n"),
                      std::string::npos)
                << text;
        }
        EXPECT_NE(text.find("q93_watch_settings_reads_total " + std::to_string(steps[i].reads)),
                  std::string::npos)
            << text;
        EXPECT_NE(text.find("q93_backup_last_success_timestamp_seconds{site=\"Hilltop\","
                            "encoder=\"Tower\"} 1700000000.25\n"),
                  std::string::npos)
            << text;
    }
    EXPECT_EQ(differingFieldNames(compared.differences),
              "Preset-3.dat:pilotLevel Preset-3.dat:preemphasis");
}

}  // namespace
}  // namespace q93::watch
