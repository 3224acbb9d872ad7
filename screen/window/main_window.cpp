#include "screen/window/main_window.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeySequence>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>

#include "base/string_table.h"
#include "base/user_seam.h"
#include "protocol/clock_transfer.h"
#include "protocol/clock_values.h"
#include "protocol/device_connection.h"
#include "protocol/device_transfer.h"
#include "protocol/parameter_ranges.h"
#include "protocol/parameter_set.h"
#include "protocol/preset_transfer.h"
#include "resources/templates/main_window_templates.h"
#include "resources/version_text.h"
#include "screen/dialogs/about_box.h"
#include "screen/dialogs/lock_wait_dialog.h"
#include "screen/dialogs/port_log_window.h"
#include "screen/dialogs/send_anyway_box.h"
#include "screen/display/modulation_power_dialog.h"
#include "screen/kit/app_images.h"
#include "screen/kit/template_builder.h"
#include "screen/pages/property_sheet.h"
#include "screen/pages/range_listing.h"
#include "screen/pages/rtc_prop.h"
#include "screen/window/location_tree.h"
#include "store/encoder_lock.h"
#include "store/name_text.h"

namespace q93 {
namespace {

// The sheet's own frame stands this far outside the placeholder, as the window always had it.
constexpr int kSheetInset = 7;
constexpr int kAboutStringId = 101;

// Menus take '&' as the mnemonic mark, which the string table keeps.
QString aboutItemText() {
    return QString::fromUtf8(LoadResString(kAboutStringId));
}

}  // namespace

MainWindow::MainWindow(const std::string& root, QWidget* parent)
    : QWidget(parent),
      sheet_(new MyPropertySheet(this, this)),
      tree_(new LocationTree(sheet_, this)) {
    const DialogTemplate& dialog = mainWindowTemplate();
    buildTemplate(dialog, this);
    setWindowTitle(QString::fromStdString(WindowTitle()));
    setWindowIcon(programIcon());
    tree_->onNodeButtons = [this](bool enabled) { enableNodeButtons(enabled); };
    tree_->Build(root);
    // Nothing is selected yet, so there is nothing to read, send or save.
    enableNodeButtons(false);
    sheet_->ShowLocationPage();
    placeTreeAndSheet();
    connectButtons();
    // F1 is where a Linux user looks for "About". Escape closes nothing: one key must not
    // end the program over an edit in progress.
    new QShortcut(QKeySequence(Qt::Key_F1), this, this, &MainWindow::ShowAboutBox);
    // The Dyn. Daten... button stays hidden as it always was; Ctrl+D and the window's context
    // menu reach the same command.
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_D), this, this, &MainWindow::ShowModulationPower);
}

MainWindow::~MainWindow() = default;

void MainWindow::placeTreeAndSheet() {
    const DialogUnits units(font());
    const ControlTemplate& treePlace = mainWindowPlace(kLocationTreeId);
    tree_->setGeometry(units.toPixels(treePlace.x, treePlace.y, treePlace.width, treePlace.height));
    const ControlTemplate& sheetPlace = mainWindowPlace(kSheetPlaceholderId);
    const QRect placeholder =
        units.toPixels(sheetPlace.x, sheetPlace.y, sheetPlace.width, sheetPlace.height);
    sheet_->adjustSize();
    sheet_->move(placeholder.topLeft() - QPoint(kSheetInset, kSheetInset));
    // The window is the template's size unless the sheet, laid out in this desktop's font,
    // needs more; nothing may be cut off.
    QSize size = units.toPixels(mainWindowTemplate().width, mainWindowTemplate().height);
    size = size.expandedTo(QSize(0, sheet_->geometry().bottom() + kSheetInset));
    setFixedSize(size);
}

void MainWindow::connectButtons() {
    // A click on a button never lands on another: the window has no default button, so Enter
    // in a page's edit does not start a transfer.
    for (QPushButton* pushButton : findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
        pushButton->setAutoDefault(false);
    connect(button(kReadButtonId), &QPushButton::clicked, this, &MainWindow::Read);
    connect(button(kUpdateButtonId), &QPushButton::clicked, this, &MainWindow::Update);
    connect(button(kSaveButtonId), &QPushButton::clicked, this, &MainWindow::SaveSelectedNode);
    connect(button(kPortLogButtonId), &QPushButton::clicked, this, &MainWindow::ShowPortLog);
    connect(button(kDynamicDataButtonId), &QPushButton::clicked, this,
            &MainWindow::ShowModulationPower);
}

QPushButton* MainWindow::button(int id) const {
    return control<QPushButton>(this, id);
}

void MainWindow::enableNodeButtons(bool enabled) {
    for (int id : {kSaveButtonId, kReadButtonId, kUpdateButtonId, kDynamicDataButtonId})
        button(id)->setEnabled(enabled);
}

int MainWindow::prepareConnection(DeviceConnection& connection, EncoderLock& lock) {
    QTreeWidgetItem* node = tree_->currentItem();
    const int depth = LocationTree::NodeDepth(node);
    if (depth < 2)
        return depth;
    QTreeWidgetItem* encoder = depth == 3 ? node->parent() : node;
    std::string busy;
    if (!waitForEncoderLock(this, tree_->EncoderFolderPath(encoder), lock, &busy)) {
        if (!busy.empty())
            showWarning(busy);
        return 0;
    }
    if (const QString refused = tree_->transferRefusal(node); !refused.isEmpty()) {
        showWarning(refused.toStdString());
        return 0;
    }
    const ConnectionSettings& s = tree_->currentSettings();
    connection.SetParameters(s.portName, s.ipAddress, s.tcpPort, s.speedIndex, s.readAck);
    return depth;
}

void MainWindow::Read() {
    DeviceConnection connection;
    EncoderLock lock;
    const int depth = prepareConnection(connection, lock);
    // A read that stops part-way leaves some fields read and one at its failure value; the
    // page is not reloaded, but leaving the node would store those fields into the file. The
    // block therefore goes back to what it was, so a failed read changes no stored setting.
    ParameterSet& params = sheet_->parameters();
    const PresetParameters presetBefore = params.preset;
    const DeviceParameters deviceBefore = params.device;
    int result = -1;
    if (depth == 2)
        result = ReadDevice(connection, params.device, params.status);
    else if (depth == 3)
        result = ReadPreset(connection, params.preset);
    if (result == 0) {
        tree_->NoteReadFilled();
        sheet_->LoadActivePage();
    } else {
        params.preset = presetBefore;
        params.device = deviceBefore;
    }
}

void MainWindow::Update() {
    QTreeWidgetItem* node = tree_->currentItem();
    if (LocationTree::NodeDepth(node) >= 2 && !tree_->holdsValuesFor(node)) {
        const QString name = QString::fromStdString(nameText(tree_->nodeFilePath(node)));
        showWarning(tr("Nothing is stored for '%1' and nothing was read into it, so there are "
                       "no values to send; nothing was sent.\nPress Read to take the encoder's "
                       "values first.")
                        .arg(name)
                        .toStdString());
        return;
    }
    if (!SaveSelectedNode() || !sheet_->ValidateActivePage() || !valuesMayGo(node))
        return;
    DeviceConnection connection;
    EncoderLock lock;
    const int depth = prepareConnection(connection, lock);
    if (depth == 2)
        WriteDevice(connection, sheet_->parameters().device);
    else if (depth == 3)
        WritePreset(connection, sheet_->parameters().preset);
}

bool MainWindow::valuesMayGo(const QTreeWidgetItem* node) {
    const ParameterSet& params = sheet_->parameters();
    const std::vector<RangeViolation> fields =
        LocationTree::NodeDepth(node) == 2
            ? deviceOutOfRange(params.device)
            : presetOutOfRange(params.preset, usableSensitivity(params.device));
    return fields.empty() || askSendAnyway(this, outOfRangeLines(fields, params.device));
}

bool MainWindow::SaveSelectedNode() {
    const bool stored = saveNode(true) != NodeStore::Refused;
    sheet_->LoadActivePage();
    return stored;
}

void MainWindow::SaveCurrentNode() {
    saveNode(false);
    sheet_->LoadActivePage();
}

NodeStore MainWindow::saveNode(bool always) {
    QTreeWidgetItem* node = tree_->currentItem();
    std::string reason;
    const NodeStore stored = tree_->StoreNode(node, always, &reason);
    if (stored == NodeStore::Failed) {
        const QString path = QString::fromStdString(nameText(tree_->nodeFilePath(node)));
        showWarning(tr("The file '%1' was not saved: %2.")
                        .arg(path, QString::fromLocal8Bit(reason))
                        .toStdString());
    }
    return stored;
}

void MainWindow::WriteClock() {
    DeviceConnection connection;
    EncoderLock lock;
    if (prepareConnection(connection, lock) < 2)
        return;
    const ClockValues& clock = sheet_->clockPage()->ClockToSend();
    if (const std::string fault = clockFault(clock); !fault.empty()) {
        showWarning(tr("The clock was not set: %1; nothing was sent.")
                        .arg(QString::fromStdString(fault))
                        .toStdString());
        return;
    }
    WriteRtc(connection, clock);
}

void MainWindow::ReadClock() {
    DeviceConnection connection;
    ClockValues values;
    EncoderLock lock;
    if (prepareConnection(connection, lock) >= 2 && ReadRtc(connection, values) == 0)
        sheet_->clockPage()->DeliverReadClock(values);
}

void MainWindow::ShowPortLog() {
    showPortLog(this);
}

void MainWindow::ShowAboutBox() {
    AboutBox box(this);
    box.exec();
}

void MainWindow::ShowModulationPower() {
    QPushButton* dynamicData = button(kDynamicDataButtonId);
    QTreeWidgetItem* node = tree_->currentItem();
    if (!dynamicData->isEnabled() || LocationTree::NodeDepth(node) < 2)
        return;
    if (const QString refused = tree_->transferRefusal(node); !refused.isEmpty()) {
        showWarning(refused.toStdString());
        return;
    }
    ModulationPowerDialog dialog(tree_->currentSettings(), this);
    dialog.exec();
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* dynamicData = menu.addAction(button(kDynamicDataButtonId)->text());
    dynamicData->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    dynamicData->setEnabled(button(kDynamicDataButtonId)->isEnabled());
    menu.addSeparator();
    QAction* about = menu.addAction(aboutItemText());
    about->setShortcut(QKeySequence(Qt::Key_F1));
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == about)
        ShowAboutBox();
    else if (chosen == dynamicData)
        ShowModulationPower();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The selected node is stored as leaving it would store it; a page that refuses its
    // values keeps the window open on that page, with the user's text to correct.
    if (saveNode(false) == NodeStore::Refused) {
        event->ignore();
        return;
    }
    event->accept();
    emit closed();
}

}  // namespace q93
