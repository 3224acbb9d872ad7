#include "screen/dialogs/progress_popup_widget.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include "resources/templates/progress_popup_template.h"
#include "screen/kit/template_builder.h"

namespace q93 {
namespace {

// A window that is new to the window system paints nothing until it has been exposed; the
// popup gives that this long before the transfer goes on without it.
constexpr int kFirstPaintWaitMs = 250;

}  // namespace

ProgressPopupWidget::ProgressPopupWidget(QWidget* owner)
    : QFrame(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      owner_(owner) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setAttribute(Qt::WA_ShowWithoutActivating);
    buildTemplate(progressPopupTemplate(), this);
    label_ = control<QLabel>(this, kProgressText);
    label_->setAlignment(Qt::AlignCenter);
    setFixedSize(dialogPixelSize(progressPopupTemplate()));
}

QString ProgressPopupWidget::text() const {
    return label_->text();
}

void ProgressPopupWidget::showText(const QString& text) {
    label_->setText(text);
    centreOverOwner();
    show();
    raise();
    repaint();
    if (!painted_)
        waitForFirstPaint();
}

void ProgressPopupWidget::centreOverOwner() {
    QRect area;
    if (owner_ != nullptr && owner_->isVisible())
        area = owner_->window()->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        move(area.center() - QPoint(width() / 2, height() / 2));
}

void ProgressPopupWidget::waitForFirstPaint() {
    // User input stays queued, so nothing the user does can start while the transfer runs.
    QEventLoop loop;
    firstPaintLoop_ = &loop;
    QTimer::singleShot(kFirstPaintWaitMs, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    firstPaintLoop_ = nullptr;
}

void ProgressPopupWidget::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    painted_ = true;
    if (firstPaintLoop_ != nullptr)
        firstPaintLoop_->quit();
}

}  // namespace q93
