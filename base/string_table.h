#pragma once

namespace q93 {

enum class Language { German, English };

// The user's language for every text of the string table and the templates.
Language currentLanguage();
void setLanguage(Language language);

// German when the environment's message locale names German, else English. The GUI
// replaces this with the Qt system locale at start-up.
Language languageFromEnvironment();

// The entry in the current language, in a buffer of the calling thread that its next call
// overwrites.
// An id without an entry yields "Can't Load String Ressource!".
const char* LoadResString(int id);

// The entry in the given language, or nullptr when the table has no such id.
const char* findResString(int id, Language language);

}  // namespace q93
