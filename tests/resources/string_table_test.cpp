#include "base/string_table.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>

#include "resources/version_text.h"

namespace q93 {
namespace {

class LanguageGuard {
public:
    LanguageGuard() : saved_(currentLanguage()) {}
    ~LanguageGuard() { setLanguage(saved_); }

private:
    Language saved_;
};

TEST(StringTable, LoadsInTheChosenLanguage) {
    LanguageGuard guard;
    setLanguage(Language::German);
    EXPECT_STREQ(LoadResString(115), "Preset wird gelesen...");
    EXPECT_STREQ(LoadResString(111), "'%s' kann nicht geöffnet werden!");
    setLanguage(Language::English);
    EXPECT_STREQ(LoadResString(115), "Reading Preset...");
    EXPECT_STREQ(LoadResString(127), "Invalid TCP-Port (0-65535) !");
    EXPECT_STREQ(LoadResString(101), "Inf&o about Q93Config...");
}

TEST(StringTable, MissingEntryFallsBack) {
    EXPECT_STREQ(LoadResString(100), "Can't Load String Ressource!");
    EXPECT_STREQ(LoadResString(128), "Can't Load String Ressource!");
    EXPECT_EQ(findResString(104, Language::English), nullptr);
}

TEST(StringTable, EachCallOverwritesTheSharedResult) {
    LanguageGuard guard;
    setLanguage(Language::English);
    const char* first = LoadResString(119);
    const std::string copy = first;
    LoadResString(120);
    EXPECT_EQ(copy, "Off");
    EXPECT_STREQ(first, "Analog");
}

// A job on another thread never changes the text this thread holds.
TEST(StringTable, EachThreadHasItsOwnResult) {
    LanguageGuard guard;
    setLanguage(Language::English);
    const char* mine = LoadResString(119);
    std::string theirs;
    std::thread other([&theirs] {
        for (int round = 0; round < 1000; ++round)
            theirs = LoadResString(round % 2 == 0 ? 120 : 115);
    });
    other.join();
    EXPECT_EQ(theirs, "Reading Preset...");
    EXPECT_STREQ(mine, "Off");
}

TEST(StringTable, EveryEntryHasBothLanguagesWithTheSameFormat) {
    for (int id = 101; id <= 127; ++id) {
        const char* german = findResString(id, Language::German);
        const char* english = findResString(id, Language::English);
        ASSERT_EQ(german == nullptr, english == nullptr) << id;
        if (german == nullptr)
            continue;
        auto conversions = [](const std::string& text) {
            std::string out;
            for (std::size_t i = 0; i + 1 < text.size(); ++i) {
                if (text[i] == '%')
                    out += text[++i];
            }
            return out;
        };
        EXPECT_EQ(conversions(german), conversions(english)) << id;
    }
}

TEST(StringTable, LanguageFollowsTheEnvironment) {
    const char* saved = std::getenv("LC_ALL");
    const std::string savedValue = saved ? saved : "";
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    EXPECT_EQ(languageFromEnvironment(), Language::German);
    setenv("LC_ALL", "fr_FR.UTF-8", 1);
    EXPECT_EQ(languageFromEnvironment(), Language::English);
    if (saved) {
        setenv("LC_ALL", savedValue.c_str(), 1);
    } else {
        unsetenv("LC_ALL");
    }
}

TEST(VersionText, FileVersionGivesTheTitle) {
    EXPECT_EQ(VersionText(), "1.26");
    EXPECT_EQ(WindowTitle(), "Q93 Config V1.26");
}

}  // namespace
}  // namespace q93
