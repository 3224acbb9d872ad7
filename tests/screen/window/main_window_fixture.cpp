#include "tests/screen/window/main_window_fixture.h"

#include <unistd.h>

#include <filesystem>

#include <QPushButton>

#include "base/string_table.h"
#include "protocol/parameter_set.h"
#include "screen/pages/property_sheet.h"

namespace q93::test {

MainWindowTest::MainWindowTest() {
    previousDirectory_ = std::filesystem::current_path().string();
    std::filesystem::current_path(dir.path());
    std::filesystem::create_directories("LocationData");
    setLanguage(Language::German);
}

MainWindowTest::~MainWindowTest() {
    window_.reset();
    std::filesystem::current_path(previousDirectory_);
}

std::string MainWindowTest::encoderFolder(const std::string& site, const std::string& encoder,
                                          const std::string& tcpText) {
    const std::string folder = "./LocationData/" + site + "/" + encoder + "/";
    std::filesystem::create_directories(folder);
    if (!tcpText.empty())
        writeFileBytes(folder + "tcp.txt", tcpText);
    return folder;
}

std::string MainWindowTest::tcpText(int port) {
    return "127.0.0.1\r\n" + std::to_string(port) + "\r\nTCP/IP\r\n3\r\n1\r\n";
}

ParameterSet& MainWindowTest::params() {
    return window().sheet()->parameters();
}

MainWindow& MainWindowTest::window() {
    if (!window_) {
        window_ = std::make_unique<MainWindow>();
        window_->show();
    }
    return *window_;
}

QTreeWidgetItem* MainWindowTest::node(int site, int encoder, int preset) {
    QTreeWidgetItem* item = window().tree()->topLevelItem(site);
    if (item != nullptr && encoder >= 0)
        item = item->child(encoder);
    if (item != nullptr && preset > 0)
        item = item->child(preset - 1);
    return item;
}

bool MainWindowTest::select(QTreeWidgetItem* item) {
    window().tree()->setCurrentItem(item);
    return window().tree()->currentItem() == item;
}

PresetParameters engineersPreset() {
    PresetParameters preset;
    preset.inputSource = 2;
    preset.inputLevel = 45.5;
    preset.maxDeviation = 72.5;
    preset.pilotLevel = 7.0;
    preset.testTone = 2;
    preset.headphoneLevel = -12.0;
    preset.testToneLevel = 40.0;
    preset.modChkDigitalOffTime = 20;
    preset.modChkDigitalOnTime = 10;
    preset.modChkAnalogOffTime = 30;
    preset.modChkAnalogOnTime = 5;
    preset.modChkAnalogLevel = 4.0;  // -20 dBu at a sensitivity of 0 dBu
    return preset;
}

PresetBytes sentPart(PresetParameters preset) {
    preset.presetNumber = 0;
    return encodePreset(preset);
}

void MainWindowWithSim::startSim(std::vector<std::string> extra, const std::string& site,
                                 const std::string& encoder) {
    std::filesystem::create_directories(simStore());
    std::vector<std::string> args{"--tcp", "127.0.0.1:0", "--store", simStore()};
    args.insert(args.end(), extra.begin(), extra.end());
    sim = std::make_unique<SimProcess>(args);
    ASSERT_TRUE(sim->ready()) << sim->error();
    folder = encoderFolder(site, encoder, tcpText(sim->port()));
}

void MainWindowWithSim::click(int id) {
    window().button(id)->click();
}

}  // namespace q93::test
