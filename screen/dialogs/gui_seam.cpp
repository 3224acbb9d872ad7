#include "screen/dialogs/gui_seam.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <cstdio>

#include "screen/dialogs/progress_popup_widget.h"

namespace q93 {
namespace {

bool onGuiThread() {
    const QCoreApplication* application = QCoreApplication::instance();
    return application != nullptr && QThread::currentThread() == application->thread();
}

}  // namespace

GuiSeam::GuiSeam(QWidget* owner) : owner_(owner) {
    installUserSeam(this);
}

GuiSeam::~GuiSeam() {
    // A worker still waiting for its box returns without it rather than waiting forever;
    // only then can the uninstall, which waits for every worker inside this seam, end.
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
        for (QueuedWarning* warning : queued_)
            warning->done = true;
        queued_.clear();
    }
    warningShown_.notify_all();
    installUserSeam(nullptr);
    delete popup_.data();
    std::unique_lock lock(mutex_);
    warningShown_.wait(lock, [this] { return waiting_ == 0; });
}

void GuiSeam::setOwner(QWidget* owner) {
    owner_ = owner;
}

QWidget* GuiSeam::boxParent() const {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return owner_.data();
}

void GuiSeam::showWarningBox(const std::string& text) {
    QMessageBox::warning(boxParent(), QString::fromUtf8(kBoxTitle), QString::fromUtf8(text));
}

void GuiSeam::showWarning(const std::string& text) {
    if (onGuiThread()) {
        showWarningBox(text);
        return;
    }
    QueuedWarning warning{text};
    std::unique_lock lock(mutex_);
    if (closing_ || QCoreApplication::instance() == nullptr) {
        // Nobody left to show it: at least not lost.
        std::fprintf(stderr, "%s\n", text.c_str());
        return;
    }
    queued_.push_back(&warning);
    ++waiting_;
    // Posted under the lock the GUI thread takes to fetch the text, so ThreadSanitizer,
    // which cannot see Qt's event-queue lock, sees the hand-over ordered too.
    QMetaObject::invokeMethod(this, "showNextQueuedWarning", Qt::QueuedConnection);
    warningShown_.wait(lock, [&warning] { return warning.done; });
    --waiting_;
    warningShown_.notify_all();
}

void GuiSeam::showNextQueuedWarning() {
    QueuedWarning* warning = nullptr;
    {
        std::lock_guard lock(mutex_);
        if (queued_.empty())
            return;
        warning = queued_.front();
        queued_.pop_front();
    }
    showWarningBox(warning->text);
    std::lock_guard lock(mutex_);
    warning->done = true;
    warningShown_.notify_all();
}

void GuiSeam::progressCreate() {
    if (!onGuiThread())
        return;
    QWidget* owner = owner_ != nullptr ? owner_.data() : QApplication::activeWindow();
    delete popup_.data();
    popup_ = new ProgressPopupWidget(owner);
}

void GuiSeam::progressShow(const std::string& text) {
    if (onGuiThread() && popup_ != nullptr)
        popup_->showText(QString::fromUtf8(text));
}

void GuiSeam::progressHide() {
    if (onGuiThread() && popup_ != nullptr)
        popup_->hide();
}

void GuiSeam::progressDestroy() {
    if (onGuiThread())
        delete popup_.data();
}

ProgressPopupWidget* GuiSeam::progressPopup() const {
    return popup_.data();
}

}  // namespace q93
