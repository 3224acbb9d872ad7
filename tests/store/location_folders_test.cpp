#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "store/folder_trash.h"
#include "store/location_folders.h"
#include "tests/support/temp_dir.h"

namespace q93 {
namespace {

namespace fs = std::filesystem;

TEST(FolderNames, OneRuleForEveryNewSiteAndEncoder) {
    test::TempDir dir;
    const std::string parent = dir.path().string() + "/";
    fs::create_directory(parent + "Tower");
    test::writeFileBytes(parent + "notes", "x");
    const struct {
        std::string name;
        NameFault fault;
    } rows[] = {
        {"Mast", NameFault::None},
        {"Sender-2 Süd", NameFault::None},
        {std::string("K\xf6ln"), NameFault::None},
        {"", NameFault::Empty},
        {"a/b", NameFault::HoldsSlash},
        {std::string("a\0b", 3), NameFault::HoldsSlash},
        {".", NameFault::StartsWithDot},
        {"..", NameFault::StartsWithDot},
        {".hidden", NameFault::StartsWithDot},
        {"Tower", NameFault::Exists},
        {"notes", NameFault::Exists},  // a plain file blocks the name as well
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(newFolderNameFault(parent, row.name), row.fault);
        EXPECT_EQ(folderNameFault(row.name),
                  row.fault == NameFault::Exists ? NameFault::None : row.fault);
        EXPECT_EQ(*nameFaultReason(row.fault) == '\0', row.fault == NameFault::None);
    }
}

TEST(FolderNames, AnEncoderIsMadeOnceWithItsTcpTxtOrNotAtAll) {
    test::TempDir dir;
    const std::string root = dir.path().string() + "/LocationData/";
    ConnectionSettings settings{"10.0.0.5", "5000", "TCP/IP", 3, 1};
    std::string error;
    ASSERT_TRUE(CreateEncoder("Hilltop", "Tower", settings, root, false, &error)) << error;
    EXPECT_EQ(test::readFileBytes(root + "Hilltop/Tower/tcp.txt"),
              "10.0.0.5\r\n5000\r\nTCP/IP\r\n3\r\n1\r\n");

    settings.ipAddress = "10.0.0.6";
    EXPECT_FALSE(CreateEncoder("Hilltop", "Tower", settings, root, false, &error));
    EXPECT_EQ(error, "cannot create '" + root + "Hilltop/Tower/': File exists");
    EXPECT_EQ(test::readFileBytes(root + "Hilltop/Tower/tcp.txt"),
              "10.0.0.5\r\n5000\r\nTCP/IP\r\n3\r\n1\r\n");

    // A rename never replaces what holds the new name, not even an empty folder.
    ASSERT_TRUE(RenameFolder(root + "Hilltop/", "Tower", "Mast", &error)) << error;
    fs::create_directory(root + "Hilltop/Spare");
    EXPECT_FALSE(RenameFolder(root + "Hilltop/", "Mast", "Spare", &error));
    EXPECT_TRUE(fs::exists(root + "Hilltop/Mast/tcp.txt"));
    EXPECT_EQ(countFiles(root), 1);
}

TEST(FolderTrash, KeepsEveryNameAndWhereItCameFrom) {
    test::TempDir dir;
    const std::string previous = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    ::setenv("XDG_DATA_HOME", dir.file("data").c_str(), 1);
    const std::string trash = dir.file("data") + "/Trash/";
    std::string trashedAs, error;
    for (const char* site : {"A", "B"}) {
        const std::string folder = dir.file(std::string(site) + "/Köln Süd");
        fs::create_directories(folder);
        test::writeFileBytes(folder + "/tcp.txt", site);
        ASSERT_TRUE(moveToTrash(folder, &trashedAs, &error)) << error;
        EXPECT_FALSE(fs::exists(folder));
    }
    EXPECT_EQ(trashedAs, trash + "files/Köln Süd.2");
    EXPECT_EQ(test::readFileBytes(trash + "files/Köln Süd/tcp.txt"), "A");
    EXPECT_EQ(test::readFileBytes(trash + "files/Köln Süd.2/tcp.txt"), "B");
    const std::string info = test::readFileBytes(trash + "info/Köln Süd.2.trashinfo");
    const std::string start = "[Trash Info]\nPath=" + dir.file("B") + "/K%C3%B6ln%20S%C3%BCd\n";
    EXPECT_EQ(info.substr(0, start.size()), start);

    EXPECT_FALSE(moveToTrash(dir.file("none"), &trashedAs, &error));
    EXPECT_EQ(error, "cannot find '" + dir.file("none") + "': No such file or directory");
    if (previous.empty())
        ::unsetenv("XDG_DATA_HOME");
    else
        ::setenv("XDG_DATA_HOME", previous.c_str(), 1);
}

}  // namespace
}  // namespace q93
