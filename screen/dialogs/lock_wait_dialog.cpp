#include "screen/dialogs/lock_wait_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>
#include <chrono>

#include "screen/dialogs/gui_seam.h"
#include "store/encoder_lock.h"

namespace q93 {
namespace {

// A command line's program, without its folder: what the user knows the holder by.
QString programOf(const std::string& command) {
    const QString first = QString::fromLocal8Bit(command).section(' ', 0, 0);
    const QString program = first.section('/', -1);
    return program;
}

}  // namespace

LockWaitDialog::LockWaitDialog(QWidget* owner) : QDialog(owner), label_(new QLabel(this)) {
    setWindowTitle(QString::fromUtf8(kBoxTitle));
    setWindowModality(Qt::ApplicationModal);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(buttons);
}

void LockWaitDialog::showHolder(const std::string& command, int pid) {
    label_->setText(tr("Waiting for %1 (pid %2)...").arg(programOf(command)).arg(pid));
    label_->setToolTip(QString::fromLocal8Bit(command));
    show();
    raise();
}

QString LockWaitDialog::text() const {
    return label_->text();
}

bool waitForEncoderLock(QWidget* owner, const std::string& encoderFolder, EncoderLock& lock,
                        std::string* error) {
    if (lock.acquire(encoderFolder, std::chrono::milliseconds{0}, error))
        return true;
    // Without a holder to name (the folder cannot be opened, or /proc does not tell) the
    // wait runs as it always did, ending in the message that says why.
    const std::optional<LockHolder> holder = encoderLockHolder(encoderFolder);
    if (!holder)
        return lock.acquire(encoderFolder, kTransferLockWait, error);
    LockWaitDialog popup(owner);
    popup.showHolder(holder->command, holder->pid);
    bool cancelled = false;
    QObject::connect(&popup, &QDialog::rejected, [&cancelled] { cancelled = true; });
    const bool taken = lock.acquire(encoderFolder, kTransferLockWait, error, [&cancelled] {
        QApplication::processEvents(QEventLoop::AllEvents);
        return cancelled;
    });
    if (cancelled && !taken)
        error->clear();
    return taken;
}

}  // namespace q93
