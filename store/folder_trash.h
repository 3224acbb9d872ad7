#pragma once

#include <string>

namespace q93 {

// Moves a file or folder into the desktop's trash, as file managers keep it (the
// freedesktop.org trash): the home trash, $XDG_DATA_HOME/Trash (~/.local/share/Trash), when it
// is on the same file system, else the trash at the top of the file system the entry is on.
// The entry goes in one rename, so it is in the trash whole or still where it was, and the
// file manager can put it back. false with the reason, having moved nothing, when no trash
// can be had there; *trashedAs is where it went.
bool moveToTrash(const std::string& path, std::string* trashedAs, std::string* error);

}  // namespace q93
