#include "screen/display/offscreen_dc.h"

#include <QPaintDevice>

namespace q93 {
namespace {

QRect clipBox(const QPainter& target) {
    if (target.hasClipping())
        return target.clipBoundingRect().toAlignedRect();
    const QPaintDevice* device = target.device();
    return device != nullptr ? QRect(0, 0, device->width(), device->height()) : QRect();
}

bool isPrinter(const QPainter& target) {
    const QPaintDevice* device = target.device();
    return device != nullptr && device->devType() == QInternal::Printer;
}

}  // namespace

OffscreenDC::OffscreenDC(QPainter& target, const QRect& area) : target_(target), area_(area) {
    open();
}

OffscreenDC::OffscreenDC(QPainter& target) : target_(target), area_(clipBox(target)) {
    open();
}

OffscreenDC::~OffscreenDC() {
    close();
}

void OffscreenDC::open() {
    open_ = true;
    offscreen_ = !isPrinter(target_);
    if (!offscreen_)
        return;
    image_ = QImage(area_.size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    painter_.emplace(&image_);
    painter_->translate(-area_.topLeft());
    painter_->fillRect(area_, target_.background());
}

QPainter& OffscreenDC::painter() {
    return painter_ ? *painter_ : target_;
}

void OffscreenDC::close() {
    if (!open_)
        return;
    open_ = false;
    if (!offscreen_)
        return;
    painter_.reset();
    target_.drawImage(area_.topLeft(), image_, QRect(QPoint(0, 0), area_.size()));
    image_ = QImage();
}

}  // namespace q93
