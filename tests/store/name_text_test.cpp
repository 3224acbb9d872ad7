#include "store/name_text.h"

#include <gtest/gtest.h>

namespace q93 {
namespace {

struct NameCase {
    const char* bytes;
    const char* shown;  // UTF-8
};

// UTF-8 stays as it is; anything else is read as Windows-1252, byte by byte.
const NameCase kNames[] = {
    {"Funkhaus", "Funkhaus"},
    {"K\xc3\xb6ln", "Köln"},  // already UTF-8
    {"K\xf6ln", "Köln"},      // Windows-1252
    {"Br\xfc"
     "cke - 127.0.0.1",
     "Brücke - 127.0.0.1"},
    {"\x80 \x8a\x9f", "€ ŠŸ"},                 // the code page's own 0x80..0x9F
    {"x\x81", "x\xef\xbf\xbd"},                // a byte it leaves undefined
    {"\xc0\xaf", "À¯"},                        // overlong '/' is no UTF-8
    {"\xed\xa0\x80", "í\xc2\xa0€"},            // nor is a surrogate
    {"\xf4\x90\x80\x80", "ô\xef\xbf\xbd€€"},   // nor anything above U+10FFFF
    {"\xe2\x82", "â\xe2\x80\x9a"},             // a sequence cut short
    {"\xf0\x9f\x93\xbb", "\xf0\x9f\x93\xbb"},  // four bytes, well formed
};

TEST(NameText, ShowsUtf8AsItIsAndAnythingElseAsWindows1252) {
    for (const NameCase& name : kNames) {
        SCOPED_TRACE(name.bytes);
        EXPECT_EQ(nameText(name.bytes), name.shown);
        EXPECT_TRUE(isUtf8(nameText(name.bytes)));
    }
}

}  // namespace
}  // namespace q93
