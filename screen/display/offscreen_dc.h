#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>
#include <optional>

namespace q93 {

// A drawing surface that collects everything drawn on it in an off-screen image and copies
// the result to its target in one piece when closed, so a repaint every tick never
// flickers. Drawing uses the target's coordinates. A printer is drawn on directly.
class OffscreenDC {
public:
    // Opens over `area` of the target, or over the target's clip box (the whole device when
    // it clips nothing), filled with the target's background colour.
    OffscreenDC(QPainter& target, const QRect& area);
    explicit OffscreenDC(QPainter& target);
    // Closes when still open.
    ~OffscreenDC();
    OffscreenDC(const OffscreenDC&) = delete;
    OffscreenDC& operator=(const OffscreenDC&) = delete;

    // Where to draw: the off-screen image's painter, or the printer's.
    QPainter& painter();
    // Copies the area to the target (plain copy) and releases the image.
    void close();

    bool offscreen() const { return offscreen_; }
    const QRect& area() const { return area_; }

private:
    void open();

    QPainter& target_;
    QRect area_;
    bool offscreen_ = false;
    bool open_ = false;
    QImage image_;
    std::optional<QPainter> painter_;
};

}  // namespace q93
