#pragma once

#include <QDialog>
#include <QPointF>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "protocol/connection_settings.h"
#include "screen/kit/gui_wakeup.h"
#include "screen/display/level_meter.h"
#include "screen/display/level_poll.h"

namespace q93 {

class ChartWindow;

// "Modulationsleistung": the levels of one encoder, left and right on a two-bar meter and
// the MPX deviation of the last 60 seconds on a chart, polled by a worker thread with a
// connection of its own while the dialog runs modally. The dialog never outlives its
// worker: every way out ends polling and joins it first.
class ModulationPowerDialog : public QDialog, private PollSink {
    Q_OBJECT

public:
    // `encoder`: the settings of the encoder the dialog is opened for, as its tcp.txt holds
    // them; the worker reaches that encoder with them.
    explicit ModulationPowerDialog(const ConnectionSettings& encoder, QWidget* parent = nullptr);
    ~ModulationPowerDialog() override;

    // Start: unless polling, starts the one worker (after collecting one still finishing
    // its last poll). Stop: polling ends after the poll in progress.
    void start();
    void stop();
    // Every way to close (Abbruch, Escape, the close box) ends here: polling ends and the
    // worker is joined before the dialog goes.
    void done(int result) override;

    bool polling() const { return running_.load() == 1; }
    // Whether the worker is still in its loop or closing its link.
    bool workerRunning() const;
    // Whether a worker thread exists that has not been joined yet.
    bool hasWorker() const { return worker_.joinable(); }
    LevelMeter& meter() { return meter_; }
    ChartWindow* chart() const { return chart_; }

private:
    void createChart();
    void configureMeter();
    void connectButtons();
    void refreshButtons();
    void deliver(const PollReading& reading) override;
    void pollWorker();
    void joinWorker();
    void takeReadings();

    const ConnectionSettings encoder_;
    LevelMeter meter_;
    ChartWindow* chart_ = nullptr;
    GuiWakeup wakeup_;

    // 1 while polling; written by the dialog and by the worker, read by the worker once per
    // poll.
    std::atomic<std::int32_t> running_{0};
    // What the worker's queries bring; the worker alone uses it.
    LevelReadings levels_;
    std::thread worker_;
    mutable std::mutex workerMutex_;
    std::condition_variable workerEnded_;
    bool ended_ = true;  // guarded by workerMutex_
    bool joining_ = false;

    // Curve readings on their way from the worker to the chart.
    using Clock = std::chrono::steady_clock;
    std::mutex readingsMutex_;
    std::vector<double> pendingReadings_;  // guarded by readingsMutex_
    std::deque<std::pair<Clock::time_point, double>> history_;
};

}  // namespace q93
