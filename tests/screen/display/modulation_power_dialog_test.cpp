#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <chrono>
#include <functional>
#include <thread>

#include "base/string_table.h"
#include "resources/templates/modulation_power_template.h"
#include "screen/display/chart_window.h"
#include "screen/display/modulation_power_dialog.h"
#include "screen/kit/template_builder.h"
#include "tests/link/tcp_loopback_server.h"
#include "tests/screen/display/chart_ink.h"
#include "tests/screen/display/display_test_support.h"

namespace q93 {
namespace {

using test::GuiThreadSeam;
using test::SimEncoderLine;
using test::SimLine;

constexpr SimLine kTcp{"Tcp", true, true};
constexpr SimLine kSerialWithAck{"SerialWithAck", false, true};
constexpr SimLine kSerialWithoutAck{"SerialWithoutAck", false, false};

QPushButton* button(const ModulationPowerDialog& dialog, int id) {
    return control<QPushButton>(&dialog, id);
}

// The three ways out, one for each line: Abbruch, Escape, the close box.
void closeAsTheUserWould(ModulationPowerDialog& dialog, const SimLine& line) {
    if (line.tcp) {
        button(dialog, kModulationCancelId)->click();
    } else if (line.ack) {
        QTest::keyClick(&dialog, Qt::Key_Escape);
    } else {
        dialog.close();
    }
}

// The buttons as the user finds them: Start, Stop.
std::pair<bool, bool> enabled(const ModulationPowerDialog& dialog) {
    return {button(dialog, kModulationStartId)->isEnabled(),
            button(dialog, kModulationStopId)->isEnabled()};
}

bool meterMoved(ModulationPowerDialog& dialog) {
    const auto channels = dialog.meter().channels();
    return channels.size() == 2 && channels[0].peak > 100 && channels[1].peak > 100;
}

bool curveDrawn(const ModulationPowerDialog& dialog) {
    const QImage& layer = dialog.chart()->dataLayer();
    for (int y = 0; y < layer.height(); ++y)
        for (int x = 0; x < layer.width(); ++x)
            if (layer.pixel(x, y) == qRgb(255, 100, 100))
                return true;
    return false;
}

int levelQueriesSent(const GuiThreadSeam& seam, int selector) {
    int sent = 0;
    for (const test::LoggedFrame& frame : seam.frames())
        sent += frame.direction == kFrameSent && frame.payload == test::levelQueryPayload(selector);
    return sent;
}

// Waits without serving the GUI thread's events: the worker may be waiting for them.
bool waitUnserved(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return done();
}

class ModulationPowerDialogTest : public ::testing::Test {
protected:
    ModulationPowerDialogTest() { setLanguage(Language::English); }
};

TEST_F(ModulationPowerDialogTest, OpensWithTheDesignedChartAndAMeterAtOneHundred) {
    ModulationPowerDialog dialog(test::tcpEncoder(test::closedLoopbackPort()));
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Modulationsleistung");
    EXPECT_EQ(button(dialog, kModulationStartId)->text(), "Start");
    EXPECT_EQ(button(dialog, kModulationStopId)->text(), "Stop");
    EXPECT_EQ(button(dialog, kModulationCancelId)->text(), "Abbruch");
    EXPECT_TRUE(button(dialog, kModulationStartId)->isDefault());
    EXPECT_EQ(enabled(dialog), std::make_pair(true, false));
    EXPECT_FALSE(dialog.polling());
    for (const ChannelLevel& c : dialog.meter().channels())
        EXPECT_EQ(std::make_pair(c.level, c.peak), std::make_pair(100, 100));
    EXPECT_EQ(dialog.meter().settings().fullScale, 5000);

    const ChartWindow& chart = *dialog.chart();
    EXPECT_EQ(chart.geometry(), control(&dialog, kModulationChartPlaceId)->geometry());
    const DialogUnits units(dialogFont(modulationPowerTemplate()));
    EXPECT_EQ(dialog.meter().geometry(), units.toPixels(254, 21, 31, 54));
    EXPECT_EQ(control(&dialog, kModulationMeterPlaceId), &dialog.meter());
    EXPECT_TRUE(dialog.meter().isVisible());
    EXPECT_TRUE(chart.isVisible());
    EXPECT_EQ(chart.plotRect().left, 42);
    EXPECT_EQ(chart.gridLayer().pixel(2, 2), qRgb(0, 0, 64));
    EXPECT_TRUE(test::showsLabel(chart, test::Label::YMax, "100.0"));
    EXPECT_TRUE(test::showsLabel(chart, test::Label::YMin, "0.0"));
    EXPECT_TRUE(test::showsLabel(chart, test::Label::XMin, "0"));
    EXPECT_TRUE(test::showsLabel(chart, test::Label::XMax, "60"));
    EXPECT_TRUE(test::showsLabel(chart, test::Label::XTitle, "[ Sekunden ]"));
    EXPECT_TRUE(test::showsLabel(chart, test::Label::YTitle, "[ kHz ]"));
    EXPECT_EQ(chart.gridColour(), rgbColour(192, 192, 255));
    EXPECT_FALSE(curveDrawn(dialog));
}

class DialogWithSim : public ::testing::TestWithParam<SimLine> {};

// Start, Stop, Start again and closing while polling, as the user would do it.
TEST_P(DialogWithSim, StartPollsStopEndsTheWorkerClosingJoinsIt) {
    GuiThreadSeam seam;
    SimEncoderLine sim(GetParam());
    ASSERT_TRUE(sim.ready()) << sim.error();
    ModulationPowerDialog dialog(sim.settings());
    dialog.show();
    button(dialog, kModulationStartId)->click();
    EXPECT_EQ(enabled(dialog), std::make_pair(false, true));
    ASSERT_TRUE(test::waitFor([&] { return meterMoved(dialog) && curveDrawn(dialog); }))
        << sim.log();
    EXPECT_GT(levelQueriesSent(seam, 0), 0);
    EXPECT_GT(levelQueriesSent(seam, 1), 0);
    for (const test::LoggedFrame& frame : seam.frames())
        EXPECT_FALSE(frame.onGuiThread);

    button(dialog, kModulationStopId)->click();
    EXPECT_EQ(enabled(dialog), std::make_pair(true, false));
    ASSERT_TRUE(test::waitFor([&] { return !dialog.workerRunning(); }));
    EXPECT_FALSE(dialog.polling());
    if (GetParam().tcp) {
        // The simulator, another process, logs the close when it sees it.
        EXPECT_TRUE(test::waitFor([&] {
            return sim.log().find("tcp#1: closed by the peer") != std::string::npos;
        })) << sim.log();
    }

    button(dialog, kModulationStartId)->click();
    const int before = levelQueriesSent(seam, 1);
    ASSERT_TRUE(test::waitFor([&] { return levelQueriesSent(seam, 1) > before; }));
    const auto pressed = std::chrono::steady_clock::now();
    closeAsTheUserWould(dialog, GetParam());
    const auto took = std::chrono::steady_clock::now() - pressed;
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.hasWorker());
    EXPECT_FALSE(dialog.polling());
    EXPECT_TRUE(seam.warnings().empty());
    RecordProperty(
        "abbruch_ms",
        static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
}

INSTANTIATE_TEST_SUITE_P(Lines, DialogWithSim,
                         ::testing::Values(kTcp, kSerialWithAck, kSerialWithoutAck),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ModulationPowerDialogTest, StartTwiceAndARestartNeverRunTwoWorkers) {
    GuiThreadSeam seam;
    SimEncoderLine sim(kTcp);
    ASSERT_TRUE(sim.ready()) << sim.error();
    ModulationPowerDialog dialog(sim.settings());
    dialog.show();
    dialog.start();
    dialog.start();
    ASSERT_TRUE(test::waitFor([&] { return levelQueriesSent(seam, 1) >= 2; }));
    dialog.stop();
    dialog.start();
    EXPECT_EQ(enabled(dialog), std::make_pair(false, true));
    const int before = levelQueriesSent(seam, 1);
    ASSERT_TRUE(test::waitFor([&] { return levelQueriesSent(seam, 1) >= before + 2; }));
    dialog.reject();
    const std::string log = sim.log();
    // One connection per Start that started a worker; the first one's requests all came
    // before the second one's.
    EXPECT_EQ(test::occurrences(log, ": connected"), 2) << log;
    EXPECT_LT(log.rfind("tcp#1 #"), log.find("tcp#2 #")) << log;
}

TEST_F(ModulationPowerDialogTest, ALinkThatCannotOpenLeavesIdleAndALaterStartPolls) {
    setLanguage(Language::German);
    test::ConfigHome config("[Ports]\nCOM5=/nonexistent/q93-line\n");
    ConnectionSettings serial;
    serial.portName = "COM5";
    serial.speedIndex = 5;
    serial.readAck = 1;
    const int tcpPort = test::closedLoopbackPort();
    struct Row {
        ConnectionSettings encoder;
        std::vector<std::string> warnings;
        std::vector<std::string> simArguments;
    };
    const Row rows[] = {
        {serial, {}, {"--pty", "--serial-ack", "1"}},
        {test::tcpEncoder(tcpPort),
         {"Keine Verbindung zu '127.0.0.1/127.0.0.1' auf Port '" + std::to_string(tcpPort) + "'!"},
         {"--tcp", "127.0.0.1:" + std::to_string(tcpPort)}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.encoder.portName);
        GuiThreadSeam seam;
        ModulationPowerDialog dialog(row.encoder);
        dialog.show();
        dialog.start();
        ASSERT_TRUE(test::waitFor([&] { return !dialog.workerRunning(); }));
        EXPECT_FALSE(dialog.polling());
        EXPECT_TRUE(test::waitFor([&] { return enabled(dialog) == std::make_pair(true, false); }));
        EXPECT_EQ(seam.warnings(), row.warnings);

        test::SimProcess sim(row.simArguments);
        ASSERT_TRUE(sim.ready()) << sim.error();
        if (!sim.ptyPath().empty())
            config.writeIni("[Ports]\nCOM5=" + sim.ptyPath() + "\n");
        dialog.start();
        EXPECT_TRUE(test::waitFor([&] { return meterMoved(dialog); })) << sim.stderrText();
        dialog.reject();
        EXPECT_EQ(seam.warnings(), row.warnings);
    }
}

// The worker waits for the GUI thread while the user closes: in a warning (the connect
// failed), in the port log taking a frame, or it waits for an answer that never comes.
TEST_F(ModulationPowerDialogTest, ClosingWhileTheWorkerWaitsEndsItFirst) {
    setLanguage(Language::German);
    struct Row {
        const char* name;
        GuiThreadSeam::Mode mode;
        std::vector<std::string> simArguments;  // none: nothing listens
    };
    const Row rows[] = {
        {"in a warning", GuiThreadSeam::Mode::BlockWarnings, {}},
        {"in the port log", GuiThreadSeam::Mode::BlockFrames, {"--tcp", "127.0.0.1:0"}},
        {"in a level query",
         GuiThreadSeam::Mode::Record,
         {"--tcp", "127.0.0.1:0", "--fault", "drop-answer:3"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GuiThreadSeam seam(row.mode);
        std::unique_ptr<test::SimProcess> sim;
        int port = test::closedLoopbackPort();
        if (!row.simArguments.empty()) {
            sim = std::make_unique<test::SimProcess>(row.simArguments);
            ASSERT_TRUE(sim->ready()) << sim->error();
            port = sim->port();
        }
        ModulationPowerDialog dialog(test::tcpEncoder(port));
        dialog.show();
        dialog.start();
        if (row.mode == GuiThreadSeam::Mode::Record) {
            ASSERT_TRUE(test::waitFor([&] { return levelQueriesSent(seam, 0) >= 2; }));
        } else {
            ASSERT_TRUE(waitUnserved([&] { return seam.waiting() > 0; }));
        }
        dialog.reject();
        EXPECT_FALSE(dialog.hasWorker());
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(seam.waiting(), 0);
        if (row.mode == GuiThreadSeam::Mode::BlockWarnings) {
            EXPECT_EQ(seam.warnings().size(), 1u);
        }
        if (row.mode == GuiThreadSeam::Mode::BlockFrames) {
            EXPECT_FALSE(seam.frames().empty());
        }
    }
}

}  // namespace
}  // namespace q93
