#include "screen/display/modulation_power_dialog.h"

#include <QCoreApplication>
#include <QPushButton>

#include "resources/templates/modulation_power_template.h"
#include "screen/display/chart_window.h"
#include "screen/kit/template_builder.h"

namespace q93 {
namespace {

constexpr int kChartSeries = 5;
constexpr int kChartId = 0;
constexpr int kCurveSeries = 0;
// The chart spans the last 60 seconds, one grid column every 10.
constexpr double kHistorySeconds = 60.0;
constexpr int kMeterChannels = 2;
constexpr int kMeterSegments = 20;
constexpr int kMeterTickMs = 55;
// While waiting for the worker, the GUI thread looks at its events this often.
constexpr auto kJoinSlice = std::chrono::milliseconds(5);

}  // namespace

ModulationPowerDialog::ModulationPowerDialog(const ConnectionSettings& encoder, QWidget* parent)
    : QDialog(parent), encoder_(encoder), wakeup_([this] {
          takeReadings();
          refreshButtons();
      }) {
    const DialogTemplate& dialog = modulationPowerTemplate();
    buildTemplate(dialog, this);
    setWindowTitle(dialogTitle(dialog));
    setFixedSize(dialogPixelSize(dialog));
    // Binding resets the table for the default 8 channels at the default full scale of 100,
    // so the bars start at 100 of the 5000 set below and fall to 0 with the first tick.
    meter_.bind(control(this, kModulationMeterPlaceId));
    setControlId(&meter_, kModulationMeterPlaceId);
    createChart();
    configureMeter();
    connectButtons();
    refreshButtons();
}

ModulationPowerDialog::~ModulationPowerDialog() {
    running_.store(0);
    joinWorker();
}

bool ModulationPowerDialog::workerRunning() const {
    std::lock_guard lock(workerMutex_);
    return !ended_;
}

void ModulationPowerDialog::createChart() {
    const QWidget* place = control(this, kModulationChartPlaceId);
    chart_ = new ChartWindow(kChartSeries);
    chart_->create(place != nullptr ? place->geometry() : QRect(), this, kChartId);
    chart_->verticalLines = 5;
    chart_->horizontalLines = 8;
    chart_->decimals = 1;
    chart_->sampleCount = 60;
    chart_->setRange(0.0, kChartFullScaleKhz, kCurveSeries);
    chart_->setSeriesColour(rgbColour(255, 100, 100), kCurveSeries);
    // No end labels: the chart prints the range ends, 100.0 and 0.0.
    chart_->setYAxis(QStringLiteral("[ kHz ]"), QString(), QString());
    chart_->setXAxis(QStringLiteral("[ Sekunden ]"), QStringLiteral("0"), QStringLiteral("60"));
    chart_->setBackgroundColour(rgbColour(0, 0, 64));
    chart_->setGridColour(rgbColour(192, 192, 255));
}

void ModulationPowerDialog::configureMeter() {
    meter_.setChannels(kMeterChannels, kMeterSegments);
    meter_.setMarkerStyle(1);
    meter_.setZones(3000, 4000, kMeterFullScale);
    meter_.startAnimation(kMeterTickMs);
}

void ModulationPowerDialog::connectButtons() {
    if (auto* button = control<QPushButton>(this, kModulationStartId))
        connect(button, &QPushButton::clicked, this, &ModulationPowerDialog::start);
    if (auto* button = control<QPushButton>(this, kModulationStopId))
        connect(button, &QPushButton::clicked, this, &ModulationPowerDialog::stop);
    if (auto* button = control<QPushButton>(this, kModulationCancelId))
        connect(button, &QPushButton::clicked, this, &ModulationPowerDialog::reject);
}

// Start is offered whenever the dialog is idle, Stop only while polling; the worker's end
// (a link that would not open, or the end of its last poll) brings them back.
void ModulationPowerDialog::refreshButtons() {
    if (QWidget* button = control(this, kModulationStartId))
        button->setEnabled(!polling());
    if (QWidget* button = control(this, kModulationStopId))
        button->setEnabled(polling());
}

void ModulationPowerDialog::start() {
    if (running_.load() == 1 || joining_)
        return;
    // A worker stopped a moment ago may still be in its last poll; it is collected first,
    // so that there is never more than one.
    joinWorker();
    running_.store(1);
    {
        std::lock_guard lock(workerMutex_);
        ended_ = false;
    }
    worker_ = std::thread(&ModulationPowerDialog::pollWorker, this);
    refreshButtons();
}

void ModulationPowerDialog::stop() {
    running_.store(0);
    refreshButtons();
}

// In place of a fixed pause of 500 ms, which a worker inside a level query could outlast:
// the dialog waits exactly until the worker has finished its poll in progress.
void ModulationPowerDialog::done(int result) {
    running_.store(0);
    joinWorker();
    QDialog::done(result);
}

// The worker may be waiting for this thread: a warning from it is shown here through a
// blocking queued call, and the port log may take a frame the same way. So events other
// than the user's are served until the worker has ended.
void ModulationPowerDialog::joinWorker() {
    if (!worker_.joinable())
        return;
    joining_ = true;
    for (;;) {
        {
            std::unique_lock lock(workerMutex_);
            if (workerEnded_.wait_for(lock, kJoinSlice, [this] { return ended_; }))
                break;
        }
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    // A nested call may have collected it while events were served.
    if (worker_.joinable())
        worker_.join();
    joining_ = false;
}

void ModulationPowerDialog::pollWorker() {
    runLevelPoll(encoder_, levels_, running_, *this);
    wakeup_.post();
    {
        std::lock_guard lock(workerMutex_);
        ended_ = true;
    }
    workerEnded_.notify_all();
}

// On the worker's thread: the meter takes its pair directly, the chart's reading goes to
// the GUI thread.
void ModulationPowerDialog::deliver(const PollReading& reading) {
    if (reading.channelsFresh)
        meter_.setLevels(reading.channels.data(), 0, kMeterChannels);
    if (reading.deviationFresh) {
        std::lock_guard lock(readingsMutex_);
        pendingReadings_.push_back(reading.mpxDeviationKhz);
    }
    wakeup_.post();
}

void ModulationPowerDialog::takeReadings() {
    std::vector<double> fresh;
    {
        std::lock_guard lock(readingsMutex_);
        fresh.swap(pendingReadings_);
    }
    if (fresh.empty())
        return;
    const Clock::time_point now = Clock::now();
    for (double value : fresh)
        history_.emplace_back(now, value);
    const auto age = [now](Clock::time_point at) {
        return std::chrono::duration<double>(now - at).count();
    };
    while (!history_.empty() && age(history_.front().first) > kHistorySeconds)
        history_.pop_front();
    // The newest reading sits at the right edge, 60 seconds ago at the left.
    std::vector<QPointF> points;
    points.reserve(history_.size());
    for (const auto& [at, value] : history_)
        points.emplace_back(kHistorySeconds - age(at), value);
    chart_->setSeriesPoints(kCurveSeries, std::move(points), kHistorySeconds);
}

}  // namespace q93
