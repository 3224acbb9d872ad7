#pragma once

#include <string>
#include <string_view>

namespace q93 {

// Replaces a file's content as one step: the bytes go to a new file beside it, are flushed
// to the disk, and the new file is renamed over the old one. A full disk or a crash half way
// therefore leaves the old file byte for byte; false when the file could not be replaced.
bool replaceFile(const std::string& path, std::string_view bytes);

// The same in two steps, for a caller that must know the file can be written before it
// gathers what to write: open() makes the new file beside the old one (the old one is not
// touched), commit() writes, flushes and renames it over. A replacement that is never
// committed removes its new file and leaves the old one as it was.
class FileReplacement {
public:
    FileReplacement() = default;
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;
    ~FileReplacement();

    bool open(const std::string& path);
    bool commit(std::string_view bytes);

private:
    void discard();

    std::string path_;
    std::string partner_;
    int fd_ = -1;
};

}  // namespace q93
