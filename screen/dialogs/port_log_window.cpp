#include "screen/dialogs/port_log_window.h"

#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QResizeEvent>
#include <QThread>

#include "link/port_log_entries.h"
#include "resources/templates/port_log_template.h"
#include "screen/kit/template_builder.h"

namespace q93 {
namespace {

// Distances of the layout from the window's outer edges, border and caption included.
constexpr int kListSideMargin = 15;
constexpr int kListTopMargin = 34;
constexpr int kListBottomMargin = 50;
constexpr int kClearLeftMargin = 15;
constexpr int kSaveLeftMargin = 22;
constexpr int kButtonBottomMargin = 14;

QPointer<PortLogWindow>& theWindow() {
    static QPointer<PortLogWindow> window;
    return window;
}

}  // namespace

PortLogWindow::PortLogWindow(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    buildTemplate(portLogTemplate(), this);
    setWindowTitle(dialogTitle(portLogTemplate()));
    // The window may shrink below its first size, as far as the buttons stay usable.
    const QSize size = dialogPixelSize(portLogTemplate());
    setMinimumSize(size / 2);
    resize(size);
    entryList()->setUniformItemSizes(true);
    entryList()->setSelectionMode(QAbstractItemView::SingleSelection);
    entryList()->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(clearButton(), &QPushButton::clicked, this, &PortLogWindow::clear);
    connect(saveButton(), &QPushButton::clicked, this, &PortLogWindow::save);
    installFrameLogger(this);
}

PortLogWindow::~PortLogWindow() {
    installFrameLogger(nullptr);
}

QListWidget* PortLogWindow::entryList() const {
    return control<QListWidget>(this, kPortLogEntries);
}
QPushButton* PortLogWindow::clearButton() const {
    return control<QPushButton>(this, kPortLogClear);
}
QPushButton* PortLogWindow::saveButton() const {
    return control<QPushButton>(this, kPortLogSave);
}

void PortLogWindow::showAndLog() {
    show();
    raise();
    activateWindow();
    loggingOn_.store(true);
}

void PortLogWindow::reject() {
    loggingOn_.store(false);
    QDialog::reject();
}

void PortLogWindow::logFrame(const std::uint8_t* bytes, int length, int direction) {
    if (!loggingOn_.load())
        return;
    std::vector<std::string> lines = portLogEntries(bytes, length, direction);
    if (lines.empty())
        return;
    const bool onOwnThread = QThread::currentThread() == thread();
    {
        std::lock_guard lock(queueMutex_);
        const bool firstQueued = queued_.empty();
        queued_.insert(queued_.end(), std::make_move_iterator(lines.begin()),
                       std::make_move_iterator(lines.end()));
        // One posted call takes everything queued until it runs. It is posted under the
        // lock that call takes, so ThreadSanitizer, which cannot see Qt's event-queue lock,
        // sees the hand-over ordered too. Posting never waits: the GUI thread may be
        // joining this very worker.
        if (firstQueued && !onOwnThread)
            QMetaObject::invokeMethod(this, "takeQueuedEntries", Qt::QueuedConnection);
    }
    if (onOwnThread)
        takeQueuedEntries();
}

void PortLogWindow::takeQueuedEntries() {
    std::vector<std::string> lines;
    {
        std::lock_guard lock(queueMutex_);
        lines.swap(queued_);
    }
    if (lines.empty())
        return;
    QListWidget* list = entryList();
    for (const std::string& line : lines)
        list->addItem(QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())));
    list->setCurrentRow(list->count() - 1);
    list->scrollToItem(list->currentItem());
}

QStringList PortLogWindow::entries() const {
    QStringList texts;
    const QListWidget* list = entryList();
    for (int row = 0; row < list->count(); ++row)
        texts.push_back(list->item(row)->text());
    return texts;
}

void PortLogWindow::clear() {
    {
        std::lock_guard lock(queueMutex_);
        queued_.clear();
    }
    entryList()->clear();
}

void PortLogWindow::save() {
    // The location store works relative to the working directory; a file dialog must not
    // move it, whatever the user does there.
    const QString workingDirectory = QDir::currentPath();
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The title a save dialog always had, German from the tool's own translation even where
    // Qt's translations are not installed.
    dialog.setWindowTitle(tr("Save As"));
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    const QString allFiles = QStringLiteral("Alle Dateien (*.*)");
    dialog.setNameFilters({QStringLiteral("Log File (*.txt)"), allFiles});
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    // "*.*" means every file where the filter comes from; on Linux it would pass over every
    // name without a dot. The text stays, and Qt's own dialog (a native one takes the pattern
    // as it stands) is told to list every file instead, once it has applied the filter.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    connect(&dialog, &QFileDialog::filterSelected, &dialog,
            [&dialog, allFiles](const QString& filter) {
                auto* files = dialog.findChild<QFileSystemModel*>();
                if (filter == allFiles && files != nullptr)
                    files->setNameFilters({QStringLiteral("*")});
            });
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    QDir::setCurrent(workingDirectory);
    if (chosen)
        saveTo(dialog.selectedFiles().constFirst());
}

bool PortLogWindow::saveTo(const QString& path) {
    takeQueuedEntries();
    std::vector<std::string> lines;
    for (const QString& entry : entries())
        lines.push_back(entry.toStdString());
    return writePortLogFile(QFile::encodeName(path).toStdString(), lines);
}

void PortLogWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    // The size the window is created with moves nothing; only later changes do.
    if (event->oldSize().isValid())
        placeControls();
}

void PortLogWindow::placeControls() {
    // The outer rectangle in client coordinates: its edges lie on the border and caption.
    const QRect outer(frameGeometry().topLeft() - geometry().topLeft(), frameGeometry().size());
    const int left = outer.left();
    const int top = outer.top();
    const int right = outer.left() + outer.width();
    const int bottom = outer.top() + outer.height();
    entryList()->setGeometry(left + kListSideMargin, top + kListTopMargin,
                             right - kListSideMargin - (left + kListSideMargin),
                             bottom - kListBottomMargin - (top + kListTopMargin));
    QPushButton* clear = clearButton();
    clear->move(left + kClearLeftMargin, bottom - kButtonBottomMargin - clear->height());
    QPushButton* save = saveButton();
    save->move(left + kSaveLeftMargin + save->width(),
               bottom - kButtonBottomMargin - save->height());
}

void showPortLog(QWidget* parent) {
    QPointer<PortLogWindow>& window = theWindow();
    if (window.isNull())
        window = new PortLogWindow(parent);
    window->showAndLog();
}

PortLogWindow* portLogWindow() {
    return theWindow().data();
}

}  // namespace q93
