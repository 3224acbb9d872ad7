#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace q93 {

// Whether the bytes are well-formed UTF-8: no stray or missing continuation bytes, no
// overlong forms, no surrogates, nothing above U+10FFFF.
bool isUtf8(std::string_view bytes);

// The length of the well-formed UTF-8 sequence that starts at `at`, or 0 when none does.
std::size_t utf8SequenceLength(std::string_view bytes, std::size_t at);

// The UTF-8 text a folder name (or a label made of one) shows as: the bytes themselves when
// they are UTF-8, else the bytes read as Windows-1252, the code page of a LocationData copied
// from a Windows machine. Only for the screen: paths are always built from the bytes.
std::string nameText(std::string_view bytes);

// The quoted form q93ctl prints a name in: double quotes, C escapes (\" \\ \t \n \r) and
// \xHH for every other control byte or byte that is not UTF-8.
std::string quotedText(std::string_view text);

// A name inside a line of text (a version's message): as it is when it is UTF-8 without
// control characters, else its quoted form, so that a newline cannot break the line and the
// bytes can be told back exactly.
std::string lineName(std::string_view bytes);

}  // namespace q93
