#include "screen/kit/gui_wakeup.h"

namespace q93 {

GuiWakeup::GuiWakeup(std::function<void()> handler) : handler_(std::move(handler)) {}

void GuiWakeup::post() {
    std::lock_guard lock(mutex_);
    if (pending_)
        return;
    pending_ = true;
    // Posted under the lock that serve() takes before Qt frees the event, so that
    // ThreadSanitizer, which cannot see Qt's own event-queue lock, sees the hand-over
    // ordered.
    QMetaObject::invokeMethod(this, "serve", Qt::QueuedConnection);
}

void GuiWakeup::serve() {
    {
        std::lock_guard lock(mutex_);
        pending_ = false;
    }
    handler_();
}

}  // namespace q93
