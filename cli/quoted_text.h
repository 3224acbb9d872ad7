#pragma once

#include <string>
#include <string_view>

namespace q93::ctl {

// Names and values in q93ctl's output, in a form a script can split and give back. A text
// that is empty or holds a blank, a double quote, a backslash, a control character or a byte
// that is not UTF-8 is printed in double quotes with C escapes: \" \\ \t \n \r, and \xHH
// (always two hex digits) for every other such byte. Anything else prints as it is.
std::string quotedIfNeeded(std::string_view text);
std::string cQuoted(std::string_view text);

// The form of a name in JSON: as it is, unless it is not UTF-8 (which JSON cannot carry) or
// begins with a double quote (which would read as the quoted form); then its quoted form.
std::string jsonText(const std::string& text);

// A word given on the command line, as it names an encoder or site: a word that is one whole
// quoted form, as q93ctl prints it, stands for the text it quotes; any other word for itself.
std::string wordAsName(const std::string& word);

}  // namespace q93::ctl
