#pragma once

#include <string>
#include <string_view>

namespace q93 {

// Replaces a file's content as one step: the bytes go to a new file beside it, are flushed
// to the disk, and the new file is renamed over the old one. A full disk or a crash half way
// therefore leaves the old file byte for byte, and SIGINT, SIGTERM and SIGHUP wait until the
// step is done; false when the file could not be replaced.
bool replaceFile(const std::string& path, std::string_view bytes);

// The same in steps, for a caller that must know the file can be written before it gathers
// what to write, or that replaces several files as one: open() makes the new file beside
// the old one (the old one is not touched), write() fills it and flushes it to the disk,
// install() renames it over the old one; commit() is write() and install(). A replacement
// that is never installed removes its new file and leaves the old one as it was.
class FileReplacement {
public:
    FileReplacement() = default;
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;
    ~FileReplacement();

    bool open(const std::string& path);
    bool write(std::string_view bytes);
    bool install();
    bool commit(std::string_view bytes);

    // Makes the new file a second name of the file as it is now (a copy where the file
    // system has no hard links), so that install() puts that content back.
    bool keep(const std::string& path);

    // The new file's name while it is not installed; empty otherwise.
    const std::string& partner() const { return partner_; }
    // Forgets the new file without removing it, for a caller that must leave it on the disk.
    void leave() { partner_.clear(); }
    // The errno value of the last step that failed.
    int error() const { return error_; }
    // Why the last step failed, for a message: what the path is when it is no regular file,
    // the errno text otherwise.
    std::string reason() const;

private:
    bool failed();
    void discard();

    bool refused(const std::string& path);

    std::string path_;
    std::string partner_;
    std::string refusal_;
    int fd_ = -1;
    int error_ = 0;
};

}  // namespace q93
