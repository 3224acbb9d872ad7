#include "protocol/command_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace q93 {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct TokenCase {
    const char* text;
    Bytes payload;
};

TEST(CommandText, TokenRules) {
    const TokenCase cases[] = {
        {"2d,03,4d,49,20", {0x2D, 0x03, 0x4D, 0x49, 0x20}},
        {"41,42,", {0x41, 0x42}},  // trailing comma does no harm
        {"41,,42", {0x41}},        // an empty token ends the payload
        {"", {}},
        {"zz,41", {}},  // unreadable first token: empty payload
        {" 1a, 0x2B,0X3c,DD", {0x1A, 0x2B, 0x3C, 0xDD}},
        {"123,7", {0x23, 0x07}},      // low byte of a wider value
        {"10,ffffffff,20", {0x10}},   // the end marker
        {"10,123456789,20", {0x10}},  // too wide for 32 bits reads as the end marker
        {"10,fffffffe,20", {0x10, 0xFE, 0x20}},
        {"0x,5", {0x00, 0x05}},      // a bare 0x prefix reads as the 0 before it
        {"12 34,56", {0x12, 0x56}},  // a token ends where its digits end
        {"-1,5", {}},                // signs are not hexadecimal
    };
    for (const TokenCase& c : cases) {
        EXPECT_EQ(commandPayload(c.text), c.payload) << '"' << c.text << '"';
    }
}

TEST(CommandText, QuotedCharactersBecomeOneByteEach) {
    EXPECT_EQ(expandCommandText("2d,\"AB\",00"), "2d,41,42,00");
    EXPECT_EQ(commandPayload("\"AB\",0d"), (Bytes{0x41, 0x42, 0x0D}));
    EXPECT_EQ(commandPayload("01,\"a,b\""), (Bytes{0x01, 0x61, 0x2C, 0x62}));
    EXPECT_EQ(expandCommandText(""), "");
}

TEST(CommandText, HighCharactersAreSignExtendedButKeepTheirLowByte) {
    const std::string text = std::string("\"") + static_cast<char>(0xE4) + "\"";
    EXPECT_EQ(expandCommandText(text), "ffffffe4,");
    EXPECT_EQ(commandPayload(text), (Bytes{0xE4}));
}

TEST(CommandText, LongTextsAreCutAndPayloadStaysWithinALengthByte) {
    std::string many;
    for (int i = 0; i < 400; ++i)
        many += "1,";
    EXPECT_EQ(commandPayload(many).size(), kMaxPayload);

    // Every quoted character grows to nine characters; the expansion is cut, not overrun.
    const std::string quoted = "\"" + std::string(1000, static_cast<char>(0x80)) + "\"";
    const std::string expanded = expandCommandText(quoted);
    EXPECT_LE(expanded.size(), kMaxCommandText);
    EXPECT_LE(commandPayload(quoted).size(), kMaxPayload);
    EXPECT_EQ(expandCommandText(std::string(5000, 'a')).size(), kMaxCommandText);
}

}  // namespace
}  // namespace q93
