#include <gtest/gtest.h>

#include <filesystem>

#include "store/location_store.h"
#include "tests/support/temp_dir.h"

namespace q93 {
namespace {

namespace fs = std::filesystem;

// A LocationData folder under a temporary directory, with helpers to lay out encoders.
class StoreFolder {
public:
    std::string root() const { return (dir_.path() / "LocationData").string() + "/"; }
    void encoder(const std::string& site, const std::string& name, const char* tcpText = nullptr) {
        const fs::path folder = dir_.path() / "LocationData" / site / name;
        fs::create_directories(folder);
        if (tcpText != nullptr)
            test::writeFileBytes((folder / "tcp.txt").string(), tcpText);
    }
    void site(const std::string& name) {
        fs::create_directories(dir_.path() / "LocationData" / name);
    }
    void plainFile(const std::string& relative) {
        test::writeFileBytes((dir_.path() / "LocationData" / relative).string(), "x");
    }

private:
    test::TempDir dir_;
};

TEST(LocationStore, SitesAndEncodersInNameOrderWithTheirLabels) {
    StoreFolder store;
    store.encoder("Hilltop", "Tower", "\r\n\r\nCOM3\r\n3\r\n1\r\n");
    store.encoder("Hilltop", "Mast", "10.0.0.5\r\n5000\r\nTCP/IP\r\n3\r\n1\r\n");
    store.encoder("Hilltop", "Tower-2");  // no tcp.txt: the bare folder name
    store.encoder("Airport", "Beacon");
    store.site("Empty");
    store.plainFile("readme.txt");
    store.plainFile("Hilltop/notes.txt");
    // Folders of other tools (the history's repository, a trash): no site, no encoder.
    store.encoder(".git", "objects");
    store.encoder("Hilltop", ".Trash");

    ConnectionSettings settings;
    const std::vector<SiteFolder> sites = scanLocationData(settings, store.root());

    ASSERT_EQ(sites.size(), 3u);
    EXPECT_EQ(sites[0].name, "Airport");
    EXPECT_EQ(sites[1].name, "Empty");
    EXPECT_TRUE(sites[1].encoders.empty());
    const std::vector<EncoderFolder>& hilltop = sites[2].encoders;
    ASSERT_EQ(hilltop.size(), 3u);
    EXPECT_EQ(hilltop[0].label, "Mast - 10.0.0.5");
    EXPECT_EQ(hilltop[1].label, "Tower - COM3");
    EXPECT_EQ(hilltop[2].label, "Tower-2");
    EXPECT_FALSE(hilltop[2].hasConnection);
    // The folder name is kept apart from the label, so "Tower-2" is never cut to "Towe".
    EXPECT_EQ(EncoderFolderPath(sites[2].name, hilltop[2].name, store.root()),
              store.root() + "Hilltop/Tower-2/");
}

// What a scan found, one line a site or encoder: "NAME" when it reads, "NAME: ERROR" when not;
// an encoder's doubt follows as "NAME doubtful: DOUBT".
std::string scanLines(const std::string& root, std::string* rootError) {
    ConnectionSettings settings;
    std::string lines;
    const std::vector<SiteFolder> sites = scanLocationData(settings, root, rootError);
    int failed = 0;
    for (const SiteFolder& site : sites) {
        failed += site.error.empty() ? 0 : 1;
        lines += site.name + "/" + (site.error.empty() ? "" : ": " + site.error) + "\n";
        for (const EncoderFolder& encoder : site.encoders) {
            failed += encoder.error.empty() ? 0 : 1;
            lines += site.name + "/" + encoder.name +
                     (encoder.error.empty() ? "" : ": " + encoder.error) +
                     (encoder.doubt.empty() ? "" : " doubtful: " + encoder.doubt) + "\n";
        }
    }
    EXPECT_EQ(unreadableFolders(sites), failed);
    return lines;
}

// Whatever cannot be looked at is listed with the reason, never left out or taken for an
// empty site or a missing tcp.txt: the faults that even root meets (a folder without the
// rights to list it is the ctl_unreadable test's, which runs q93ctl as user nobody).
TEST(LocationStore, FoldersAndFilesThatCannotBeReadAreListedWithTheReason) {
    StoreFolder store;
    const std::string good = "10.0.0.5\r\n5000\r\nTCP/IP\r\n3\r\n1\r\n";
    store.encoder("Hilltop", "Tower", good.c_str());
    store.encoder("Hilltop", "Bare");
    store.encoder("Hilltop", "Mast");
    fs::create_directory(store.root() + "Hilltop/Mast/tcp.txt");
    store.encoder("Hilltop", "Dish");
    fs::create_symlink("tcp.txt", store.root() + "Hilltop/Dish/tcp.txt");
    store.encoder("Hilltop", "Edited",
                  ("10.0.0.5\r\n5000\r\nTCP/IP\r\n3\r\n" + std::string(19, '1') + "\r\n").c_str());
    fs::create_symlink("Spire", store.root() + "Hilltop/Spire");
    store.site("Valley");
    fs::create_symlink("Loop", store.root() + "Loop");
    fs::create_symlink("nowhere", store.root() + "Dangling");
    store.plainFile("readme.txt");

    std::string rootError = "left from before";
    const std::string root = store.root();
    const std::string loop = "Too many levels of symbolic links";
    EXPECT_EQ(scanLines(root, &rootError),
              "Hilltop/\n"
              "Hilltop/Bare\n"
              "Hilltop/Dish: '" +
                  root +
                  "Hilltop/Dish/tcp.txt' is a symbolic link that cannot be followed: " + loop +
                  "\n"
                  "Hilltop/Edited doubtful: line 5 longer than 18 characters\n"
                  "Hilltop/Mast: '" +
                  root +
                  "Hilltop/Mast/tcp.txt' is a directory\n"
                  "Hilltop/Spire: cannot list '" +
                  root + "Hilltop/Spire/': " + loop +
                  "\n"
                  "Hilltop/Tower\n"
                  "Loop/: cannot list '" +
                  root + "Loop/': " + loop +
                  "\n"
                  "Valley/\n");
    EXPECT_EQ(rootError, "");

    // The same rule refuses a transfer, and says why in q93ctl's words.
    ConnectionSettings settings;
    std::string reason;
    const std::string dish = EncoderFolderPath("Hilltop", "Dish", root);
    struct TransferCase {
        const char* encoder;
        ConnectionFault fault;
        std::string text;
    };
    for (const TransferCase& c : std::vector<TransferCase>{
             {"Tower", ConnectionFault::None, ""},
             {"Bare", ConnectionFault::Missing, "cannot read '" + root + "Hilltop/Bare/tcp.txt'"},
             {"Dish", ConnectionFault::Unreadable,
              "'" + dish + "tcp.txt' is a symbolic link that cannot be followed: " + loop},
             {"Edited", ConnectionFault::Doubtful,
              "'" + root +
                  "Hilltop/Edited/tcp.txt' is doubtful: line 5 longer than 18 "
                  "characters; nothing was sent"}}) {
        SCOPED_TRACE(c.encoder);
        const std::string folder = EncoderFolderPath("Hilltop", c.encoder, root);
        const ConnectionFault fault = ReadTransferSettings(folder, settings, &reason);
        EXPECT_EQ(fault, c.fault);
        EXPECT_EQ(connectionFaultText(folder, fault, reason), c.text);
    }

    // A store not made yet is an empty one; a root that is there but cannot be listed is a
    // failure, and lists nothing.
    test::TempDir dir;
    EXPECT_EQ(scanLines((dir.path() / "LocationData/").string(), &rootError), "");
    EXPECT_EQ(rootError, "");
    test::writeFileBytes((dir.path() / "LocationData").string(), "x");
    EXPECT_EQ(scanLines((dir.path() / "LocationData/").string(), &rootError), "");
    EXPECT_EQ(rootError,
              "cannot list '" + (dir.path() / "LocationData/").string() + "': Not a directory");
}

TEST(LocationStore, WritesTcpTxtWithCrLfAndReadsItBack) {
    StoreFolder store;
    store.encoder("Hilltop", "Tower");
    const std::string folder = EncoderFolderPath("Hilltop", "Tower", store.root());
    test::writeFileBytes(folder + "tcp.txt", "old content that is longer than the new one\n");

    ASSERT_TRUE(WriteConnectionSettings(folder, {"10.0.0.5", "5000", "TCP/IP", 3, 1, {}}));

    EXPECT_EQ(test::readFileBytes(folder + "tcp.txt"), "10.0.0.5\r\n5000\r\nTCP/IP\r\n3\r\n1\r\n");
    ConnectionSettings back;
    ASSERT_EQ(ReadConnectionSettings(folder, back), 0);
    EXPECT_EQ(encoderLabel("Tower", back), "Tower - 10.0.0.5");
    // Nothing is left beside the file.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST(LocationStore, AFolderThatCannotTakeTcpTxtReportsFailureAndCreatesNothing) {
    StoreFolder store;
    const std::string missing = EncoderFolderPath("Nowhere", "Tower", store.root());
    EXPECT_FALSE(WriteConnectionSettings(missing, {"10.0.0.5", "5000", "TCP/IP", 3, 1, {}}));
    EXPECT_FALSE(fs::exists(missing));
}

TEST(LocationStore, PresetLabelsNameTheirFilesAndNumbers) {
    for (int n = 1; n <= kPresetsPerEncoder; ++n) {
        EXPECT_EQ(presetFileName(presetLabel(n)), "Preset-" + std::to_string(n) + ".dat");
        EXPECT_EQ(presetNumberFromLabel(presetLabel(n)), n);
    }
    EXPECT_EQ(presetNumberFromLabel("Tower"), 0);
}

}  // namespace
}  // namespace q93
