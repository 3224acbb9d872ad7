#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "protocol/parameter_files.h"
#include "tests/protocol/transfer_fixture.h"
#include "tests/support/process_runner.h"
#include "tests/support/temp_dir.h"

namespace q93 {
namespace {

namespace fs = std::filesystem;

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every file of the simulator's encoder folder with its bytes.
std::map<std::string, std::string> storeOf(const test::SimEncoder& sim) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(sim.storeDir()))
        if (entry.is_regular_file())
            files[entry.path().string()] = bytesOf(entry.path());
    return files;
}

// What stands at a path, without following a link.
std::string nodeAt(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return "nothing";
    if (S_ISLNK(info.st_mode)) {
        std::error_code error;
        return "link to " + fs::read_symlink(path, error).string();
    }
    if (S_ISCHR(info.st_mode))
        return "character device " + std::to_string(major(info.st_rdev)) + ":" +
               std::to_string(minor(info.st_rdev));
    if (S_ISFIFO(info.st_mode))
        return "fifo";
    if (S_ISDIR(info.st_mode))
        return "directory";
    return "file";
}

enum class Node { CharDevice, Fifo, Directory, LinkToFile, DanglingLink };

struct Case {
    const char* name;
    Node node;
    const char* kind;  // the refusal's words; null when the file is taken
};

// Makes the node under test at `path`; a link's target is `target`, holding `content`.
void make(Node node, const std::string& path, const std::string& target,
          const std::string& content) {
    switch (node) {
        case Node::CharDevice:
            // The same device as /dev/null: a replacement would put a plain file in its place.
            ASSERT_EQ(::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0) << path;
            break;
        case Node::Fifo:
            ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0) << path;
            break;
        case Node::Directory:
            ASSERT_TRUE(fs::create_directory(path)) << path;
            break;
        case Node::LinkToFile:
            std::ofstream(target, std::ios::binary) << content;
            fs::create_symlink(target, path);
            break;
        case Node::DanglingLink:
            fs::create_symlink(target, path);
            break;
    }
}

const Case kCases[] = {
    {"character device", Node::CharDevice, "is a character device"},
    {"FIFO", Node::Fifo, "is a FIFO"},
    {"directory", Node::Directory, "is a directory"},
    {"link to a file", Node::LinkToFile, nullptr},
    {"dangling link", Node::DanglingLink, "is a dangling symbolic link"},
};

// read-device --out and write-device --in with each kind of node: anything but a regular
// file (or a link to one) is refused at once, by name, before the encoder hears anything.
TEST(CtlFileKind, OnlyRegularFilesAreReadOrReplaced) {
    test::SimEncoder sim({"tcp", true, true}, {"--verbose"});
    ASSERT_TRUE(sim.ready()) << sim.error();
    const std::vector<std::string> encoder = sim.connectionOptions();
    const DeviceBytes encoded = encodeDevice(sim.device());
    const std::string held(encoded.begin(), encoded.end());
    const DeviceBytes sent = encodeDevice(test::inRangeDevice(1));
    const std::string taken(sent.begin(), sent.end());
    for (const char* option : {"--out", "--in"}) {
        const bool out = std::string(option) == "--out";
        for (const Case& row : kCases) {
            SCOPED_TRACE(std::string(option) + " " + row.name);
            test::TempDir dir;
            const std::string path = dir.file("node");
            const std::string target = dir.file("target.dat");
            // A link's target: for --in a device file the encoder takes; for --out a file the
            // read replaces.
            const std::string content = out ? std::string("old") : taken;
            make(row.node, path, target, content);
            const std::string before = nodeAt(path);
            const auto storeBefore = storeOf(sim);
            const std::string logBefore = sim.log();

            std::vector<std::string> argv{test::binPath("q93ctl")};
            argv.insert(argv.end(), encoder.begin(), encoder.end());
            argv.insert(argv.end(), {out ? "read-device" : "write-device", option, path});
            // Bounded: a FIFO that is opened and waited on is killed, not waited for.
            const test::ProcessResult result = test::runProgram(argv, 10);

            EXPECT_EQ(nodeAt(path), before);
            if (row.kind != nullptr) {
                EXPECT_EQ(result.exitCode, 1) << result.err;
                EXPECT_EQ(result.err, "q93ctl: '" + path + "' " + row.kind + "\n");
                EXPECT_EQ(storeOf(sim), storeBefore);
                EXPECT_EQ(sim.log(), logBefore) << "the encoder was asked";
                EXPECT_FALSE(fs::exists(fs::symlink_status(target))) << "a target was made";
            } else {
                EXPECT_EQ(result.exitCode, 0) << result.err;
                // --out replaces the target with what the encoder holds; --in leaves it.
                EXPECT_EQ(bytesOf(target), out ? held : taken);
                EXPECT_NE(sim.log(), logBefore) << "the encoder was not asked";
            }
            // Nothing was left beside the node or the target.
            std::vector<std::string> names;
            for (const auto& entry : fs::directory_iterator(dir.path()))
                names.push_back(entry.path().filename().string());
            std::sort(names.begin(), names.end());
            const std::vector<std::string> expected =
                row.node == Node::LinkToFile ? std::vector<std::string>{"node", "target.dat"}
                                             : std::vector<std::string>{"node"};
            EXPECT_EQ(names, expected);
        }
    }
}

}  // namespace
}  // namespace q93
