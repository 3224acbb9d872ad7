#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "base/regular_file.h"
#include "base/replace_file.h"
#include "base/replace_file_group.h"
#include "tests/support/temp_dir.h"

namespace q93 {
namespace {

namespace fs = std::filesystem;

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

mode_t typeAt(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? (info.st_mode & S_IFMT) : 0;
}

struct Kind {
    const char* name;
    const char* refusal;  // empty when the path is taken
};

// Makes the node called `name` in `dir`; the links point at "target" beside it.
void make(const test::TempDir& dir, const std::string& name) {
    const std::string path = dir.file(name);
    if (name == "chardev")
        ASSERT_EQ(::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    else if (name == "fifo")
        ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0);
    else if (name == "folder")
        fs::create_directory(path);
    else if (name == "file")
        std::ofstream(path) << "old";
    else if (name == "link") {
        std::ofstream(dir.file("target")) << "old";
        fs::create_symlink("target", path);
    } else if (name == "dangling")
        fs::create_symlink("target", path);
}

const Kind kKinds[] = {
    {"chardev", "is a character device"},
    {"fifo", "is a FIFO"},
    {"folder", "is a directory"},
    {"dangling", "is a dangling symbolic link"},
    {"file", ""},
    {"link", ""},
    {"absent", ""},
};

TEST(RegularFile, EveryKindIsJudgedReadAndReplacedAsItMayBe) {
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        test::TempDir dir;
        make(dir, kind.name);
        const std::string path = dir.file(kind.name);
        const mode_t type = typeAt(path);
        const bool refused = *kind.refusal != '\0';

        EXPECT_EQ(notRegularFile(path), kind.refusal);
        EXPECT_EQ(fileRefusal(path), refused ? "'" + path + "' " + kind.refusal : "");

        std::string error;
        const int fd = openRegularFile(path, &error);
        if (fd >= 0)
            ::close(fd);
        const bool readable = !refused && std::string(kind.name) != "absent";
        EXPECT_EQ(fd >= 0, readable) << error;
        if (refused) {
            EXPECT_EQ(error, "'" + path + "' " + kind.refusal);
        }

        FileReplacement replacement;
        EXPECT_EQ(replacement.open(path), !refused);
        if (refused) {
            EXPECT_EQ(replacement.reason(), kind.refusal);
        }
        EXPECT_EQ(replacement.commit("new"), !refused);
        std::string groupError;
        EXPECT_EQ(replaceFileGroup({{path, "newer"}, {dir.file("other"), "x"}}, &groupError),
                  !refused);
        if (refused) {
            EXPECT_EQ(groupError, "cannot write '" + path + "': " + kind.refusal);
        }

        // The node is as it was; a link still is one, and its target has the content.
        if (type != 0) {
            EXPECT_EQ(typeAt(path), type);
        }
        if (std::string(kind.name) == "link") {
            EXPECT_EQ(bytesOf(dir.file("target")), "newer");
        } else if (!refused) {
            EXPECT_EQ(bytesOf(path), "newer");
        }
        EXPECT_EQ(fs::exists(dir.file("other")), !refused);
        EXPECT_EQ(fs::exists(fs::symlink_status(dir.file("target"))),
                  std::string(kind.name) == "link");
        std::size_t entries = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path()))
            ++entries;
        const std::size_t expected = (type != 0 || !refused ? 1 : 0) + (refused ? 0 : 1) +
                                     (std::string(kind.name) == "link" ? 1 : 0);
        EXPECT_EQ(entries, expected) << "something was left beside";
    }
}

}  // namespace
}  // namespace q93
