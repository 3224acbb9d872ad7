// The encoder answers every request of the transfers so that the tool's offsets hold the
// values: the read tables of the preset and device transfers, walked row by row.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "sim/encoder_model.h"
#include "sim/sim_log.h"
#include "sim/parameter_table.h"
#include "tests/sim/sim_test_util.h"

namespace q93::test {
namespace {

using sim::EncoderModel;

struct Fixture : ::testing::Test {
    EncoderModel model;
    sim::FaultPlan faults;
    sim::EncoderService service{model, faults};
};

std::uint16_t wordAt(const Bytes& f, std::size_t at) { return static_cast<std::uint16_t>(f.at(at) << 8 | f.at(at + 1)); }

using RequestHandlerTest = Fixture;

// Read preset for preset 3, every step: command, how the tool reads it, the field.
struct PresetStep {
    const char* command;
    char kind;  // b byte at 11, f float at 11, g float at 12, w word at 12
    double PresetParameters::*real;
    std::int32_t PresetParameters::*integer;
};

const PresetStep kReadPreset[] = {
    {"2d,04,4d,49,70,03", 'b', nullptr, &PresetParameters::inputSource},
    {"2d,04,4d,49,40,03", 'f', &PresetParameters::inputLevel, nullptr},
    {"2d,04,4d,49,41,03", 'f', &PresetParameters::aesSensitivity, nullptr},
    {"2d,04,4d,49,71,03", 'b', nullptr, &PresetParameters::scaMode},
    {"2d,05,4d,49,42,03,00", 'f', &PresetParameters::sca1Gain, nullptr},
    {"2d,05,4d,49,42,03,01", 'f', &PresetParameters::sca2Gain, nullptr},
    {"2d,04,4d,49,43,03", 'f', &PresetParameters::mpxGain, nullptr},
    {"2d,04,4d,49,72,03", 'b', nullptr, &PresetParameters::auxOutput},
    {"2d,04,4d,49,73,03", 'b', nullptr, &PresetParameters::pilotStatus},
    {"2d,04,4d,49,44,03", 'f', &PresetParameters::pilotLevel, nullptr},
    {"2d,04,4d,49,45,03", 'f', &PresetParameters::pilotPhase, nullptr},
    {"2d,04,4d,49,74,03", 'b', nullptr, &PresetParameters::peakLimiterOn},
    {"2d,04,4d,49,46,03", 'f', &PresetParameters::maxDeviation, nullptr},
    {"2d,04,4d,49,75,03", 'b', nullptr, &PresetParameters::powerLimiterOn},
    {"2d,04,4d,49,47,03", 'f', &PresetParameters::maxModulationOutput, nullptr},
    {"2d,04,4d,49,ba,03", 'b', nullptr, &PresetParameters::operationMode},
    {"2d,04,4d,49,78,03", 'b', nullptr, &PresetParameters::preemphasis},
    {"2d,04,4d,49,76,03", 'b', nullptr, &PresetParameters::testMode},
    {"2d,04,4d,49,77,03", 'b', nullptr, &PresetParameters::testTone},
    {"2d,04,4d,49,48,03", 'f', &PresetParameters::testToneLevel, nullptr},
    {"2d,04,4d,49,49,03", 'f', &PresetParameters::headphoneLevel, nullptr},
    {"2d,04,4d,49,d5,03", 'b', nullptr, &PresetParameters::modChkSignaling},
    {"2d,05,4d,49,d1,03,00", 'w', nullptr, &PresetParameters::modChkDigitalOffTime},
    {"2d,05,4d,49,d1,03,01", 'w', nullptr, &PresetParameters::modChkDigitalOnTime},
    {"2d,05,4d,49,d3,03,00", 'g', &PresetParameters::modChkDigitalLevel, nullptr},
    {"2d,05,4d,49,d1,03,02", 'w', nullptr, &PresetParameters::modChkAnalogOffTime},
    {"2d,05,4d,49,d1,03,03", 'w', nullptr, &PresetParameters::modChkAnalogOnTime},
    {"2d,05,4d,49,d3,03,01", 'g', &PresetParameters::modChkAnalogLevel, nullptr},
};

TEST_F(RequestHandlerTest, AnswersEveryReadPresetStepAtTheToolsOffsets) {
    // Distinct values per field, so that a value at the wrong offset cannot pass.
    PresetParameters& p = model.preset(3);
    int k = 0;
    for (const PresetStep& step : kReadPreset) {
        ++k;
        if (step.integer) p.*step.integer = step.kind == 'w' ? 500 + k : 10 + k;
        if (step.real) p.*step.real = -2.5 + k;
    }
    for (const PresetStep& step : kReadPreset) {
        SCOPED_TRACE(step.command);
        const std::vector<Bytes> frames = roundTrip(service, step.command);
        ASSERT_EQ(frames.size(), 2u);
        EXPECT_EQ(frames[0][5], 0x18);
        EXPECT_EQ(frames[0][6], 0x00);
        const Bytes& a = frames[1];
        ASSERT_TRUE(checksumMatches(a.data(), static_cast<int>(a.size())));
        EXPECT_EQ(a[5], 0x2D);
        EXPECT_EQ(a[6], a.size() - 10) << "count = payload bytes after it";
        EXPECT_EQ(a[7], 0x4D);
        EXPECT_EQ(a[8], 0x49);
        switch (step.kind) {
            case 'b': EXPECT_EQ(a.at(11), p.*step.integer); break;
            case 'f': EXPECT_FLOAT_EQ(floatAt(a, 11), static_cast<float>(p.*step.real)); break;
            case 'g': EXPECT_FLOAT_EQ(floatAt(a, 12), static_cast<float>(p.*step.real)); break;
            case 'w': EXPECT_EQ(wordAt(a, 12), p.*step.integer); break;
        }
    }
}

TEST_F(RequestHandlerTest, Preset3InputSourceIsAtOffset11) {
    const Bytes a = answerTo(service, "2d,04,4d,49,70,03");
    EXPECT_EQ(payloadOf(a), (Bytes{0x2D, 0x05, 0x4D, 0x49, 0x70, 0x03,
                                   static_cast<std::uint8_t>(model.preset(3).inputSource)}));
    EXPECT_EQ(a.at(11), EncoderModel::factoryPreset(3).inputSource);
}

TEST_F(RequestHandlerTest, ScaGainAnswerLeavesTheIndexOut) {
    const Bytes a = answerTo(service, "2d,05,4d,49,42,03,01");
    ASSERT_EQ(a.size(), 8u + 10u);
    EXPECT_EQ(a[10], 0x03);
    EXPECT_FLOAT_EQ(floatAt(a, 11), -2.0f);
}

TEST_F(RequestHandlerTest, AnswersEveryReadDeviceStep) {
    DeviceParameters& d = model.device();
    d.sensitivity40k = -7.5;
    d.levelUnit = 1;
    d.language = 0;
    d.activePreset = 5;
    d.frontResponse = 2;
    d.dte1Response = 1;
    d.dte2Response = 0;
    d.dte3Response = 2;
    d.frontBaud = 5;
    d.dte1Baud = 0;
    d.dte2Baud = 1;
    d.dte3Baud = 2;
    EXPECT_FLOAT_EQ(floatAt(answerTo(service, "2d,03,4d,49,11"), 10), -7.5f);
    EXPECT_EQ(answerTo(service, "2d,03,4d,49,13").at(10), 1);
    EXPECT_EQ(answerTo(service, "2d,03,4d,49,15").at(10), 0);
    EXPECT_EQ(answerTo(service, "2d,03,4d,49,04").at(10), 5);
    const struct {
        const char* command;
        int value;
    } registers[] = {{"17,02,3b,04", 2}, {"17,02,3b,01", 1}, {"17,02,3b,02", 0}, {"17,02,3b,03", 2},
                     {"17,02,3c,04", 5}, {"17,02,3c,01", 0}, {"17,02,3c,02", 1}, {"17,02,3c,03", 2}};
    for (const auto& r : registers) {
        SCOPED_TRACE(r.command);
        const Bytes a = answerTo(service, r.command);
        const Bytes request = fromHex(r.command);
        EXPECT_EQ(a.at(5), request[2]) << "first payload byte is the register group";
        EXPECT_EQ(a.at(6), request[3]);
        EXPECT_EQ(a.at(7), r.value);
    }
}

TEST_F(RequestHandlerTest, MemoryQueriesAnswerTheStatusAtOffset17) {
    model.preset(6).inputSource = 2;
    model.device().activePreset = 5;  // preset 6
    const DeviceStatus s = model.status();
    const struct {
        const char* command;
        int value;
    } rows[] = {{"2d,07,4d,49,02,00,00,7f,24", s.currentInput},
                {"2d,07,4d,49,02,00,00,7f,40", s.digitalChannels},
                {"2d,07,4d,49,02,00,00,7f,44", s.aesFrameStatus},
                {"2d,07,4d,49,02,00,00,7f,3c", s.analogChannels},
                {"2d,07,4d,49,02,00,00,12,34", 0}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.command);
        const Bytes a = answerTo(service, r.command);
        ASSERT_EQ(a.size(), 21u);
        EXPECT_EQ(a[5], 0x2D);
        EXPECT_EQ(a[17], r.value);
    }
    EXPECT_EQ(s.currentInput, 2);
}

TEST_F(RequestHandlerTest, ClockReadsAsWrittenWithItsOffsetCode) {
    // 2008-03-15 14:05:09, offset entry 26 (+1:00): the tool's write command.
    EXPECT_EQ(roundTrip(service, "0d,08,03,0f,0e,05,09,0,02").size(), 1u) << "acknowledged, no answer";
    const Bytes a = answerTo(service, "17,01,0d");
    ASSERT_EQ(a.size(), 17u);
    EXPECT_EQ(a[5], 0x0D);
    EXPECT_EQ(a[6], 8);
    EXPECT_EQ(a[7], 3);
    EXPECT_EQ(a[8], 15);
    EXPECT_EQ(a[9], 14);
    EXPECT_EQ(a[10], 5);
    EXPECT_GE(a[11], 9);
    EXPECT_LE(a[11], 11);
    EXPECT_EQ(a[12], 0);
    EXPECT_EQ(a[13], 0x02);
    roundTrip(service, "0d,63,12,1f,17,3b,3b,0,38");  // 1999-12-31 23:59:59, -12:00
    const Bytes b = answerTo(service, "17,01,0d");
    EXPECT_TRUE(b[6] == 99 || b[6] == 0);
    EXPECT_EQ(b[13], 0x38);
}

TEST_F(RequestHandlerTest, LevelQueriesCarryTwoAndSixFloatsThatMove) {
    const Bytes a0 = answerTo(service, "2d,03,4d,49,20");
    const Bytes a1 = answerTo(service, "2d,03,4d,49,21");
    ASSERT_EQ(a0.size(), 8u + 5u + 8u);
    ASSERT_EQ(a1.size(), 8u + 5u + 24u);
    EXPECT_EQ(a0[9], 0x20);
    EXPECT_EQ(a1[9], 0x21);
    for (int i = 0; i < 2; ++i) {
        const float v = floatAt(a0, 10 + 4 * i);
        EXPECT_GT(v, 0.0f);
        EXPECT_LT(v, 100.0f);
    }
    EXPECT_NEAR(floatAt(a1, 18), 6.75f, 0.1f) << "pilot deviation follows pilotLevel";
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const Bytes later = answerTo(service, "2d,03,4d,49,20");
    EXPECT_NE(floatAt(later, 10), floatAt(a0, 10));
}

// Every write id of the parameter table changes its field; reading it back gives the value.
TEST_F(RequestHandlerTest, EverySetCommandChangesTheModel) {
    for (const sim::ParameterRow& row : sim::parameterTable()) {
        SCOPED_TRACE(row.name);
        char text[96];
        const bool preset = row.scope == sim::Scope::Preset;
        std::string head = "2d,00,4d,49";
        std::snprintf(text, sizeof text, ",%02x", row.writeId);
        head += text;
        if (preset) head += ",04";
        if (row.index >= 0) {
            std::snprintf(text, sizeof text, ",%02x", row.index);
            head += text;
        }
        std::string value;
        switch (row.wire) {
            case sim::Wire::Byte: value = ",02"; break;
            case sim::Wire::Word: value = ",01,2c"; break;    // 300
            case sim::Wire::Float: value = ",00,00,b4,c0"; break;  // -5.625
        }
        const std::vector<Bytes> frames = roundTrip(service, head + value);
        ASSERT_EQ(frames.size(), 1u) << "a set command is acknowledged and not answered";
        const void* record = preset ? static_cast<const void*>(&model.preset(4)) : &model.device();
        const auto* at = static_cast<const std::uint8_t*>(record) + row.offset;
        if (row.wire == sim::Wire::Float) {
            double v;
            std::memcpy(&v, at, sizeof v);
            EXPECT_DOUBLE_EQ(v, -5.625);
        } else {
            std::int32_t v;
            std::memcpy(&v, at, sizeof v);
            EXPECT_EQ(v, row.wire == sim::Wire::Word ? 300 : 2);
        }
    }
    EXPECT_EQ(model.preset(3).inputSource, EncoderModel::factoryPreset(3).inputSource) << "other presets untouched";
}

TEST_F(RequestHandlerTest, WriteDeviceCommandsOfTheTool) {
    roundTrip(service, "2d,07,4d,49,10,00,00,20,41");  // sensitivity40k 10.0
    roundTrip(service, "2d,04,4d,49,03,02");            // activePreset 2
    roundTrip(service, "3b,02,01");
    roundTrip(service, "3c,03,05");
    EXPECT_DOUBLE_EQ(model.device().sensitivity40k, 10.0);
    EXPECT_EQ(model.device().activePreset, 2);
    EXPECT_EQ(model.device().dte2Response, 1);
    EXPECT_EQ(model.device().dte3Baud, 5);
}

TEST_F(RequestHandlerTest, WithoutAcknowledgementsOnlyTheAnswerIsSent) {
    const std::vector<Bytes> query = roundTrip(service, "2d,04,4d,49,70,03", false);
    ASSERT_EQ(query.size(), 1u);
    EXPECT_EQ(query[0][5], 0x2D);
    EXPECT_TRUE(roundTrip(service, "2d,05,4d,49,60,03,01", false).empty());
}

TEST_F(RequestHandlerTest, UnknownCommandsAreAcknowledgedAndNamedOnStderr) {
    std::vector<std::string> lines;
    sim::setLogSink([&](const std::string& line) { lines.push_back(line); });
    const char* unknown[] = {"99,01,02", "2d,03,4d,49,7f", "2d,04,4d,49,70,09", "2d,05,4d,49,d1,03,07",
                             "17,02,3b,09", "2d,03,4e,49,70", ""};
    for (const char* command : unknown) {
        SCOPED_TRACE(command);
        const std::vector<Bytes> frames = roundTrip(service, command);
        ASSERT_EQ(frames.size(), 1u);
        EXPECT_EQ(frames[0][5], 0x18);
    }
    sim::setLogSink(nullptr);
    ASSERT_EQ(lines.size(), std::size(unknown));
    EXPECT_NE(lines[0].find("unknown command 99 01 02"), std::string::npos) << lines[0];
}

TEST_F(RequestHandlerTest, DamagedFramesAreNotAnswered) {
    std::vector<std::string> lines;
    sim::setLogSink([&](const std::string& line) { lines.push_back(line); });
    FrameCodec codec;
    codec.buildFrame("2d,04,4d,49,70,03");
    Bytes bad(codec.wireFrame(), codec.wireFrame() + codec.wireLength());
    bad[bad.size() - 2] ^= 0x01;  // checksum
    EXPECT_TRUE(service.onFrame(bad, true, "test").chunks.empty());
    const Bytes shortFrame = {0xFE, 0x00, 0x01, 0xFF};
    EXPECT_TRUE(service.onFrame(shortFrame, true, "test").chunks.empty());
    sim::setLogSink(nullptr);
    EXPECT_EQ(lines.size(), 2u);
    EXPECT_EQ(faults.requestsSeen(), 0) << "damaged frames are not counted as requests";
}

TEST_F(RequestHandlerTest, AnswersUseTheEncodersOwnSequence) {
    const std::int32_t before = frameSequence.load();
    const std::vector<Bytes> first = roundTrip(service, "2d,04,4d,49,70,03");
    const std::vector<Bytes> second = roundTrip(service, "2d,04,4d,49,70,03");
    EXPECT_EQ(frameSequence.load(), before + 2) << "only the two requests built here count";
    EXPECT_EQ(first[0][3], 0);
    EXPECT_EQ(first[1][3], 1);
    EXPECT_EQ(second[0][3], 2);
}

}  // namespace
}  // namespace q93::test
