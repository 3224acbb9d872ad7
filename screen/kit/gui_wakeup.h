#pragma once

#include <QObject>
#include <functional>
#include <mutex>

namespace q93 {

// Lets a worker thread (the meter's timer, the poll worker, a fleet send) ask the GUI thread
// to run a handler, without ever waiting for it. Requests made before the handler runs are served
// by one call. The owner joins every thread that posts before destroying this object.
class GuiWakeup : public QObject {
    Q_OBJECT

public:
    // Create on the GUI thread; the handler runs there.
    explicit GuiWakeup(std::function<void()> handler);

    // From any thread.
    void post();

private:
    Q_INVOKABLE void serve();

    std::function<void()> handler_;
    std::mutex mutex_;
    bool pending_ = false;  // guarded by mutex_
};

}  // namespace q93
