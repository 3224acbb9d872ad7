#pragma once

#include <gtest/gtest.h>

#include <QTreeWidgetItem>
#include <memory>
#include <string>

#include "protocol/parameter_files.h"
#include "screen/window/location_tree.h"
#include "screen/window/main_window.h"
#include "tests/support/recording_seam.h"
#include "tests/support/sim_process.h"
#include "tests/support/temp_dir.h"

namespace q93::test {

// A working folder of its own with a LocationData tree, made the current directory for the
// test (the tool finds LocationData there), and the main window built on it on demand.
class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest();
    ~MainWindowTest() override;

    // Creates LocationData/site/encoder, with tcp.txt when `tcpText` is given.
    std::string encoderFolder(const std::string& site, const std::string& encoder,
                              const std::string& tcpText = "");
    static std::string tcpText(int port);
    MainWindow& window();
    // What the window's pages show and its transfers move.
    ParameterSet& params();

    // The node of a site, its encoder or one of the encoder's presets (0: the encoder).
    QTreeWidgetItem* node(int site, int encoder = -1, int preset = 0);
    // Selects a node as a click would; false when the tree kept the old one.
    bool select(QTreeWidgetItem* item);

    TempDir dir;
    RecordingSeam seam;

private:
    std::string previousDirectory_;
    std::unique_ptr<MainWindow> window_;
};

// A preset whose values differ from the simulator's factory ones, as an engineer sets them:
// each within what its page allows, at any sensitivity from -6 to +6 dBu.
PresetParameters engineersPreset();
// What reaches the encoder: the block without the number, which the file name gives.
PresetBytes sentPart(PresetParameters preset);

// The same with a real q93sim on TCP, keeping its encoder's files in a store folder of its
// own, and one encoder folder whose tcp.txt reaches it.
class MainWindowWithSim : public MainWindowTest {
protected:
    void startSim(std::vector<std::string> extra = {}, const std::string& site = "Hilltop",
                  const std::string& encoder = "Tower");
    std::string simStore() const { return dir.file("sim-store") + "/"; }
    void click(int id);

    std::unique_ptr<SimProcess> sim;
    std::string folder;
};

}  // namespace q93::test
