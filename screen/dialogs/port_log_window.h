#pragma once

#include <QDialog>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "base/frame_log.h"

class QListWidget;
class QPushButton;

namespace q93 {

// Dialog 103: every frame sent and received, one entry a line, in arrival order. It is the
// links' frame logger from its creation to its destruction; frames count only while logging
// is on, from showAndLog() until the close box (or Escape) hides the window.
class PortLogWindow : public QDialog, public FrameLogger {
    Q_OBJECT

public:
    explicit PortLogWindow(QWidget* parent = nullptr);
    ~PortLogWindow() override;

    // Shows and raises the window and switches logging on.
    void showAndLog();
    bool loggingOn() const { return loggingOn_.load(); }

    // From any thread, never waiting for this window's thread: a worker's entries are
    // queued and reach the list when the event loop next runs, the GUI thread's at once.
    void logFrame(const std::uint8_t* bytes, int length, int direction) override;

    // The entries the list shows, in order.
    QStringList entries() const;
    QListWidget* entryList() const;
    QPushButton* clearButton() const;
    QPushButton* saveButton() const;

    // The Clear button: removes every entry.
    void clear();
    // The Save button: asks for a file, restores the working directory, then saveTo().
    void save();
    // Writes the entries to `path`, replacing it; false when it cannot be opened.
    bool saveTo(const QString& path);

public slots:
    // The close box and Escape: logging off, the window hidden, the entries kept.
    void reject() override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Moves entries queued by any thread into the list, in the order they arrived.
    Q_INVOKABLE void takeQueuedEntries();
    void placeControls();

    std::atomic<bool> loggingOn_{false};
    std::mutex queueMutex_;
    std::vector<std::string> queued_;  // guarded by queueMutex_
};

// The main window's PortLog button: creates the window on first use, shows it and switches
// logging on. The window then lives as long as `parent` (or until deleted).
void showPortLog(QWidget* parent);
// The window showPortLog created, or nullptr before its first call.
PortLogWindow* portLogWindow();

}  // namespace q93
