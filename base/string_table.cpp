#include "base/string_table.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace q93 {
namespace {

struct StringEntry {
    int id;
    const char* german;
    const char* english;
};

// Texts are UTF-8; ids without a text here are not in the table and fall back.
constexpr StringEntry kStrings[] = {
    {101, "Inf&o uber Q93Config...", "Inf&o about Q93Config..."},
    {102, "Antwort in %dms", "Answer in %dms"},
    {103, "Keine Antwort.", "No Answer."},
    {109, "kHz ( %.1f bis %.1f kHz )", "kHz ( %.1f to %.1f kHz )"},
    {110, "dBu ( -18 bis +18 dBu )", "dBu ( -18 to +18 dBu )"},
    {111, "'%s' kann nicht geöffnet werden!", "Can't open '%s'!"},
    {112, "Keine Verbindung zu '%s/%s' auf Port '%d'!", "No connection to '%s/%s' on port '%d'!"},
    {113, "RTC wird gelesen...", "Reading RTC..."},
    {114, "RTC wird geschrieben...", "Writing RTC..."},
    {115, "Preset wird gelesen...", "Reading Preset..."},
    {116, "Preset wird geschrieben...", "Writing Preset..."},
    {117, "Device wird gelesen...", "Reading Device..."},
    {118, "Device wird geschrieben...", "Writing Device..."},
    {119, "Aus", "Off"},
    {120, "Analog", "Analog"},
    {121, "Digital", "Digital"},
    {123, "Nicht ausgelesen...", "not requested..."},
    {124, "dBu ( -18 bis -6,1dBu )", "dBu ( -18 to -6,1dBu )"},
    {125, "AES/EBU Frame nicht vorhanden!", "No AES/EBU Frame!"},
    {126, "AES/EBU Frame vorhanden!", "AES/EBU Frame OK!"},
    {127, "Ungültiger TCP-Port (0-65535) !", "Invalid TCP-Port (0-65535) !"},
};

constexpr const char* kMissing = "Can't Load String Ressource!";

std::atomic<Language>& languageSlot() {
    static std::atomic<Language> language{languageFromEnvironment()};
    return language;
}

}  // namespace

Language currentLanguage() {
    return languageSlot().load();
}

void setLanguage(Language language) {
    languageSlot().store(language);
}

Language languageFromEnvironment() {
    // The same precedence as setlocale(LC_MESSAGES, ""): LC_ALL, then LC_MESSAGES, then LANG.
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            return std::string_view(value).substr(0, 2) == "de" ? Language::German
                                                                : Language::English;
        }
    }
    return Language::English;
}

const char* findResString(int id, Language language) {
    for (const StringEntry& entry : kStrings) {
        if (entry.id == id) {
            return language == Language::German ? entry.german : entry.english;
        }
    }
    return nullptr;
}

const char* LoadResString(int id) {
    // One result buffer a thread, as callers expect: a caller that needs two strings at once
    // copies the first before asking for the second, and jobs on other threads never see
    // their text change under them.
    static thread_local char buffer[256];
    const char* text = findResString(id, currentLanguage());
    if (text == nullptr) {
        text = kMissing;
    }
    std::strncpy(buffer, text, sizeof buffer - 1);
    buffer[sizeof buffer - 1] = '\0';
    return buffer;
}

}  // namespace q93
