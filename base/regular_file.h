#pragma once

#include <string>

namespace q93 {

// Every file the tools read or replace is a regular file or a symbolic link to one. A device,
// a FIFO, a directory or a socket given in its place is refused before anything is sent to
// an encoder: replacing it would put a plain file where /dev/null was, and reading or writing
// a FIFO would wait for a peer that never comes.

// Empty when `path` names a regular file (through any links) or nothing at all; otherwise
// what it is instead: "is a character device", "is a FIFO", "is a directory", "is a dangling
// symbolic link", ...
std::string notRegularFile(const std::string& path);

// "'PATH' is a FIFO" and the like, or empty as notRegularFile() is.
std::string fileRefusal(const std::string& path);

// Opens `path` for reading without waiting on a FIFO or taking a terminal; the descriptor
// (blocking again) of a regular file, or -1 with the reason in *error ("cannot read 'PATH':
// ..." or "'PATH' is a FIFO").
int openRegularFile(const std::string& path, std::string* error);

// The file a replacement of `path` renames onto: the final target when `path` is a symbolic
// link, so the link stays and points at the new content; `path` itself otherwise.
std::string replacementTarget(const std::string& path);

}  // namespace q93
