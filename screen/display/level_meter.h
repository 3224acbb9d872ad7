#pragma once

#include <QWidget>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "screen/kit/gui_wakeup.h"
#include "screen/display/level_meter_state.h"
#include "screen/display/periodic_timer.h"

namespace q93 {

// A bar per channel made of equal segments, lit in three colours by zone, with a held peak
// line, falling back towards zero on a periodic timer between updates. The timer is a
// thread the meter owns; a tick never waits for the GUI thread, it only asks it to repaint,
// so stopping the timer from the GUI thread can always wait for the tick in progress.
// setLevels and tick may be called from any thread. The system timer resolution that a
// multimedia timer would raise has no counterpart here.
class LevelMeter : public QWidget {
    Q_OBJECT

public:
    // Still: no timer. Animated: ticking. Resting: a tick found every bar at rest and
    // stopped ticking, but timerId stays set, so the next setLevels starts a new timer.
    enum class Animation { Still, Animated, Resting };

    explicit LevelMeter(QWidget* parent = nullptr);
    ~LevelMeter() override;

    // Takes the place of a dialog's control (its parent, geometry and stacking), deletes the
    // control and resets the channel table.
    void bind(QWidget* control);

    // Refused (false) when either number is 0; otherwise resets the table. No repaint.
    bool setChannels(std::uint32_t count, std::int32_t segments);
    // No reset, no repaint.
    void setZones(std::int32_t lowLimit, std::int32_t highLimit, std::int32_t fullScale);
    void setMarkerStyle(int style);
    // values[i] is the value of channel i, for i from first to first + count - 1. False,
    // changing nothing, when first is negative or values is null.
    bool setLevels(const std::int32_t* values, int first, int count);
    // Starts ticking every periodMs unless a timer is held; whether one is held now.
    bool startAnimation(int periodMs);
    // Kills the timer held, if any: true when there was one.
    bool stopAnimation();
    // One decay step, as the timer's thread runs it.
    void tick();
    // The window style's bit 0x0001: bars one below the other, segments left to right.
    void setHorizontal(bool horizontal);

    std::uint32_t timerId() const { return timerId_.load(); }
    int tickPeriod() const { return tickPeriod_.load(); }
    Animation animation() const;
    std::vector<ChannelLevel> channels() const { return state_.channels(); }
    MeterSettings settings() const { return state_.settings(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool startAnimationLocked(int periodMs);
    bool stopAnimationLocked();

    LevelMeterState state_;
    PeriodicTimer timer_;
    GuiWakeup repaint_;
    // Start, stop and the update that restarts the timer, from the GUI thread and the
    // worker; a tick never takes it.
    std::mutex animationMutex_;
    std::atomic<std::uint32_t> timerId_{0};
    std::atomic<int> tickPeriod_{10};
    bool horizontal_ = false;
};

}  // namespace q93
