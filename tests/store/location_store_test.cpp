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

TEST(LocationStore, WritesTcpTxtWithCrLfAndReadsItBack) {
    StoreFolder store;
    store.encoder("Hilltop", "Tower");
    const std::string folder = EncoderFolderPath("Hilltop", "Tower", store.root());
    test::writeFileBytes(folder + "tcp.txt", "old content that is longer than the new one\n");

    ASSERT_TRUE(WriteConnectionSettings(folder, {"10.0.0.5", "5000", "TCP/IP", 3, 1}));

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
    EXPECT_FALSE(WriteConnectionSettings(missing, {"10.0.0.5", "5000", "TCP/IP", 3, 1}));
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
