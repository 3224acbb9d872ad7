#pragma once

#include <QDialog>
#include <string>

class QLabel;

namespace q93 {

class EncoderLock;

// Takes an encoder's lock for a transfer of the window. While another program holds it, a
// popup names that program at once ("Waiting for q93ctl (pid 4711)...") and offers Cancel;
// the wait ends with the lock, with Cancel, or after the transfer's bound, when *error names
// the holder. false with *error empty after Cancel: the user knows, nothing to report.
bool waitForEncoderLock(QWidget* owner, const std::string& encoderFolder, EncoderLock& lock,
                        std::string* error);

// The popup of that wait; blocks the other windows while it shows.
class LockWaitDialog : public QDialog {
    Q_OBJECT

public:
    explicit LockWaitDialog(QWidget* owner);
    // The holder as /proc shows it: its program and pid.
    void showHolder(const std::string& command, int pid);
    QString text() const;

private:
    QLabel* label_;
};

}  // namespace q93
