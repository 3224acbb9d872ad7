#pragma once

#include <string>
#include <vector>

namespace q93 {

// The Realtime clock page's time offsets: 49 entries from "-12:00" to "12:00" in half
// hours, entry i standing for (i - 24) half hours.
inline constexpr int kOffsetEntryCount = 49;
inline constexpr int kZeroOffsetEntry = 24;

// The entries in list order.
std::vector<std::string> OffsetListEntries();

// The byte the clock transfers exchange: bit 5 marks a negative offset, bits 0-4 hold its
// size in half hours. An index outside the list sends no offset (code 0).
int OffsetCodeFromEntry(int entry);

// The list entry of a code read from the encoder, or -1 when the list has no such entry.
int OffsetEntryFromCode(int code);

}  // namespace q93
