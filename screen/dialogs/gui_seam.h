#pragma once

#include <QObject>
#include <QPointer>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>

#include "base/user_seam.h"

class QWidget;

namespace q93 {

class ProgressPopupWidget;

// The title of every message box of the tool.
inline constexpr const char* kBoxTitle = "Q93Config";

// The user seam of the desktop tool, installed for its lifetime: warnings as modal message
// boxes, the transfer's progress as a popup over the owner window. Create it on the GUI
// thread once the application exists.
class GuiSeam : public QObject, public UserSeam {
    Q_OBJECT

public:
    // `owner` is the window popups are centred over and boxes belong to; without one they
    // take the active window.
    explicit GuiSeam(QWidget* owner = nullptr);
    ~GuiSeam() override;

    void setOwner(QWidget* owner);

    // On the GUI thread: QMessageBox::warning. From any other thread: the box is shown on
    // the GUI thread and the caller waits until the user has closed it.
    void showWarning(const std::string& text) override;

    // The progress popup; calls from other threads than the GUI thread are ignored.
    void progressCreate() override;
    void progressShow(const std::string& text) override;
    void progressHide() override;
    void progressDestroy() override;

    // The popup between progressCreate and progressDestroy, else nullptr.
    ProgressPopupWidget* progressPopup() const;

private:
    struct QueuedWarning {
        std::string text;
        bool done = false;
    };

    void showWarningBox(const std::string& text);
    Q_INVOKABLE void showNextQueuedWarning();
    QWidget* boxParent() const;

    QPointer<QWidget> owner_;
    // A child of its owner, so it goes with an owner destroyed first.
    QPointer<ProgressPopupWidget> popup_;

    std::mutex mutex_;
    std::condition_variable warningShown_;
    std::deque<QueuedWarning*> queued_;  // guarded by mutex_
    int waiting_ = 0;                    // guarded by mutex_
    bool closing_ = false;               // guarded by mutex_
};

}  // namespace q93
