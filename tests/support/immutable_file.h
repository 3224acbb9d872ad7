#pragma once

#include <string>

namespace q93::test {

// Makes a file or folder immutable (chattr +i) for the object's life, so that not even root
// can write, rename or remove it; the flag is taken off again at the end. Needs root and a
// file system that keeps the flag (ext4, xfs, btrfs); ok() says whether it took.
class ImmutableFile {
public:
    explicit ImmutableFile(std::string path);
    ~ImmutableFile();
    ImmutableFile(const ImmutableFile&) = delete;
    ImmutableFile& operator=(const ImmutableFile&) = delete;

    bool ok() const { return set_; }

private:
    bool change(bool immutable);

    std::string path_;
    bool set_ = false;
};

}  // namespace q93::test
