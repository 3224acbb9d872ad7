#include "screen/display/level_meter.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>

#include "screen/display/level_meter_painter.h"
#include "screen/display/offscreen_dc.h"
#include "screen/display/qt_colour.h"

namespace q93 {

LevelMeter::LevelMeter(QWidget* parent)
    : QWidget(parent),
      state_(colourValueOf(QApplication::palette().color(QPalette::Button))),
      repaint_([this] { update(); }) {}

LevelMeter::~LevelMeter() {
    stopAnimation();
}

void LevelMeter::bind(QWidget* control) {
    if (control != nullptr) {
        setParent(control->parentWidget());
        setGeometry(control->geometry());
        stackUnder(control);
        setVisible(!control->isHidden());
        delete control;
    }
    state_.reset();
}

bool LevelMeter::setChannels(std::uint32_t count, std::int32_t segments) {
    return state_.setChannels(count, segments);
}

void LevelMeter::setZones(std::int32_t lowLimit, std::int32_t highLimit, std::int32_t fullScale) {
    state_.setZones(lowLimit, highLimit, fullScale);
}

void LevelMeter::setMarkerStyle(int style) {
    if (state_.setMarkerStyle(style))
        repaint_.post();
}

bool LevelMeter::setLevels(const std::int32_t* values, int first, int count) {
    if (first < 0 || values == nullptr)
        return false;
    std::lock_guard lock(animationMutex_);
    // The timer is stopped while the table is written, so every update restarts the tick
    // phase. A Resting meter's timer has already stopped ticking; stopping collects it.
    const bool animated = timerId_.load() != 0;
    if (animated)
        stopAnimationLocked();
    state_.storeLevels(values, first, count);
    if (animated)
        return startAnimationLocked(tickPeriod_.load());
    repaint_.post();
    return true;
}

bool LevelMeter::startAnimation(int periodMs) {
    std::lock_guard lock(animationMutex_);
    return startAnimationLocked(periodMs);
}

bool LevelMeter::startAnimationLocked(int periodMs) {
    if (timerId_.load() == 0) {
        timerId_.store(timer_.start(periodMs, [this] { tick(); }));
        tickPeriod_.store(periodMs);
    }
    return timerId_.load() != 0;
}

bool LevelMeter::stopAnimation() {
    std::lock_guard lock(animationMutex_);
    return stopAnimationLocked();
}

bool LevelMeter::stopAnimationLocked() {
    if (timerId_.load() == 0)
        return false;
    timer_.kill();
    timerId_.store(0);
    return true;
}

void LevelMeter::tick() {
    repaint_.post();
    if (state_.decay())
        timer_.stopTicking();
}

void LevelMeter::setHorizontal(bool horizontal) {
    horizontal_ = horizontal;
    update();
}

LevelMeter::Animation LevelMeter::animation() const {
    if (timerId_.load() == 0)
        return Animation::Still;
    return timer_.ticking() ? Animation::Animated : Animation::Resting;
}

void LevelMeter::paintEvent(QPaintEvent* /*event*/) {
    QPainter target(this);
    target.setBackground(palette().window());
    const QRect area(QPoint(0, 0), size());
    OffscreenDC surface(target, area);
    paintLevelMeter(surface.painter(), area, state_.snapshot(), horizontal_);
    surface.close();
}

}  // namespace q93
