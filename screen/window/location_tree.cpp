#include "screen/window/location_tree.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "base/user_seam.h"
#include "protocol/parameter_files.h"
#include "protocol/parameter_set.h"
#include "screen/dialogs/connection_dialog.h"
#include "screen/kit/app_images.h"
#include "screen/pages/location_prop.h"
#include "screen/pages/property_sheet.h"
#include "screen/window/tree_menu.h"
#include "screen/window/vetoing_selection_model.h"
#include "store/name_text.h"

namespace q93 {
namespace {

// What a node keeps beside its label: its folder's name as the listing gave its bytes, its
// image, and whether its file existed when last looked at.
constexpr int kFolderRole = Qt::UserRole;
constexpr int kImageRole = Qt::UserRole + 1;
constexpr int kStoredRole = Qt::UserRole + 2;
constexpr int kFaultRole = Qt::UserRole + 3;
constexpr int kUnlistedRole = Qt::UserRole + 4;
// The context menu opens a little right of the pointer, clear of the item's text start.
constexpr int kMenuOffsetX = 10;

// A QByteArray, unlike a QString, gives back every byte it was given.
QTreeWidgetItem* makeNode(const std::string& label, const std::string& folder, int image) {
    auto* node = new QTreeWidgetItem(QStringList{QString::fromStdString(nameText(label))});
    node->setData(0, kFolderRole, QByteArray::fromStdString(folder));
    node->setData(0, kImageRole, image);
    node->setIcon(0, treeIcon(image));
    return node;
}

std::string folderOf(const QTreeWidgetItem* node);

// Where the listing's byte order puts a node among its siblings, so that a node made while
// the tool runs stands where the next start shows it.
void insertInNameOrder(QTreeWidgetItem* parent, QTreeWidgetItem* node) {
    int index = parent->childCount();
    while (index > 0 && folderOf(parent->child(index - 1)) > folderOf(node))
        --index;
    parent->insertChild(index, node);
}

int nodeImage(const QTreeWidgetItem* node) {
    return node == nullptr ? -1 : node->data(0, kImageRole).toInt();
}

std::string folderOf(const QTreeWidgetItem* node) {
    return node->data(0, kFolderRole).toByteArray().toStdString();
}

template <std::size_t N>
std::string storedForm(const std::array<std::uint8_t, N>& block) {
    return {reinterpret_cast<const char*>(block.data()), N};
}

bool dialogByDefault(ConnectionSettings& settings, QWidget* parent) {
    const std::optional<ConnectionSettings> chosen = q93::runConnectionDialog(settings, parent);
    if (!chosen)
        return false;
    settings = *chosen;
    return true;
}

}  // namespace

LocationTree::LocationTree(MyPropertySheet* sheet, QWidget* parent)
    : QTreeWidget(parent), runConnectionDialog(dialogByDefault), sheet_(sheet) {
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setItemsExpandable(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(16, 16));
    // The right button is handled at the press (select, then the node's menu); the context
    // menu event that follows it is taken in contextMenuEvent, so that the window's own menu
    // does not follow.
    setContextMenuPolicy(Qt::DefaultContextMenu);
    selection_ = new VetoingSelectionModel(model(), this, [this](const QModelIndex& from) {
        return selectionAboutToChange(itemFromIndex(from));
    });
    QItemSelectionModel* previous = selectionModel();
    setSelectionModel(selection_);
    delete previous;
    // The tree widget's own currentItemChanged stays tied to the model it was built with.
    connect(selection_, &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) {
                selectionChanged(itemFromIndex(current));
            });
}

void LocationTree::Build(const std::string& root) {
    root_ = root;
    setUpdatesEnabled(false);
    clear();
    for (const SiteFolder& site : scanLocationData(current_, root, &unlisted_)) {
        QTreeWidgetItem* siteNode = addSiteNode(site.name);
        if (!site.error.empty()) {
            siteNode->setData(0, kUnlistedRole, true);
            showFault(siteNode,
                      tr("Cannot be read: %1").arg(QString::fromStdString(nameText(site.error))));
        }
        for (const EncoderFolder& encoder : site.encoders) {
            QTreeWidgetItem* encoderNode = addEncoderNode(siteNode, encoder);
            if (!encoder.error.empty()) {
                showFault(
                    encoderNode,
                    tr("Cannot be read: %1").arg(QString::fromStdString(nameText(encoder.error))));
            } else if (!encoder.doubt.empty()) {
                showFault(encoderNode, tr("tcp.txt is doubtful: %1; no transfer takes it.")
                                           .arg(QString::fromStdString(nameText(encoder.doubt))));
            }
        }
    }
    setUpdatesEnabled(true);
    showWhereDataIs();
    // An empty tree would say there are no sites; the user must learn that they are unknown.
    if (!unlisted_.empty()) {
        showWarning(tr("The sites cannot be shown: %1.")
                        .arg(QString::fromStdString(nameText(unlisted_)))
                        .toStdString());
    }
}

QString LocationTree::faultOf(const QTreeWidgetItem* node) {
    return node == nullptr ? QString() : node->data(0, kFaultRole).toString();
}

bool LocationTree::isUnlistedSite(const QTreeWidgetItem* node) {
    return node != nullptr && node->data(0, kUnlistedRole).toBool();
}

void LocationTree::showFault(QTreeWidgetItem* node, const QString& fault) {
    node->setData(0, kFaultRole, fault);
    node->setToolTip(0, fault);
    if (NodeDepth(node) == 1 && fault.isEmpty())
        node->setData(0, Qt::ForegroundRole, QVariant());
    else if (NodeDepth(node) == 1)
        node->setForeground(0, palette().brush(QPalette::Disabled, QPalette::Text));
    else
        showStored(node, hasStoredFile(node));
}

QString LocationTree::transferRefusal(QTreeWidgetItem* node) {
    QTreeWidgetItem* encoder = encoderOf(node);
    if (encoder == nullptr)
        return {};
    const std::string folder = EncoderFolderPath(encoder);
    std::string reason;
    switch (ReadTransferSettings(folder, current_, &reason)) {
        case ConnectionFault::None:
        case ConnectionFault::Missing:
            // Without tcp.txt the transfer goes ahead on empty settings, as it always did,
            // and the port that does not open says why.
            showFault(encoder, {});
            return {};
        case ConnectionFault::Unreadable: {
            const QString text = QString::fromStdString(nameText(reason));
            showFault(encoder, tr("Cannot be read: %1").arg(text));
            return tr("The connection settings cannot be read: %1; nothing was sent.").arg(text);
        }
        case ConnectionFault::Doubtful: {
            const QString doubt = QString::fromStdString(nameText(reason));
            showFault(encoder, tr("tcp.txt is doubtful: %1; no transfer takes it.").arg(doubt));
            return tr("'%1' is doubtful: %2; nothing was sent.")
                .arg(QString::fromStdString(nameText(folder + "tcp.txt")), doubt);
        }
    }
    return {};
}

QTreeWidgetItem* LocationTree::addSiteNode(const std::string& name) {
    QTreeWidgetItem* siteNode = makeNode(name, name, kSiteImage);
    insertInNameOrder(invisibleRootItem(), siteNode);
    return siteNode;
}

void LocationTree::renameNode(QTreeWidgetItem* node, const std::string& name) {
    node->setData(0, kFolderRole, QByteArray::fromStdString(name));
    std::string label = name;
    if (nodeImage(node) == kEncoderImage && ReadConnectionSettings(node) == 0)
        label = encoderLabel(name, current_);
    node->setText(0, QString::fromStdString(nameText(label)));
}

std::string LocationTree::folderName(const QTreeWidgetItem* node) {
    return folderOf(node);
}

QTreeWidgetItem* LocationTree::addEncoderNode(QTreeWidgetItem* site, const EncoderFolder& encoder) {
    QTreeWidgetItem* encoderNode = makeNode(encoder.label, encoder.name, kEncoderImage);
    insertInNameOrder(site, encoderNode);
    const StoredFiles stored = findStoredFiles(EncoderFolderPath(encoderNode));
    showStored(encoderNode, stored.device);
    for (int n = 1; n <= kPresetsPerEncoder; ++n) {
        const std::string label = presetLabel(n);
        QTreeWidgetItem* presetNode = makeNode(label, label, kPresetImage);
        encoderNode->addChild(presetNode);
        showStored(presetNode, stored.presets[n - 1]);
    }
    return encoderNode;
}

QString LocationTree::dataFolderText() const {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::absolute(root_, error);
    return QString::fromStdString(nameText(folder.lexically_normal().string()));
}

void LocationTree::showWhereDataIs() {
    // The hint to make a first site is no answer to a folder that cannot be listed.
    sheet_->locationPage()->ShowDataFolder(dataFolderText(),
                                           topLevelItemCount() > 0 || !unlisted_.empty());
}

int LocationTree::NodeDepth(const QTreeWidgetItem* node) {
    int depth = 0;
    for (; node != nullptr; node = node->parent())
        ++depth;
    return depth;
}

QTreeWidgetItem* LocationTree::encoderOf(QTreeWidgetItem* node) {
    switch (NodeDepth(node)) {
        case 2:
            return node;
        case 3:
            return node->parent();
        default:
            return nullptr;
    }
}

std::string LocationTree::EncoderFolderPath(const QTreeWidgetItem* encoder) const {
    if (encoder == nullptr || encoder->parent() == nullptr)
        return {};
    return q93::EncoderFolderPath(folderOf(encoder->parent()), folderOf(encoder), root_);
}

std::string LocationTree::nodeFilePath(const QTreeWidgetItem* node) const {
    switch (nodeImage(node)) {
        case kEncoderImage:
            return deviceFilePath(EncoderFolderPath(node));
        case kPresetImage:
            return EncoderFolderPath(node->parent()) + presetFileName(folderOf(node));
        default:
            return {};
    }
}

int LocationTree::ReadConnectionSettings(QTreeWidgetItem* node) {
    QTreeWidgetItem* encoder = encoderOf(node);
    if (encoder == nullptr)
        return -1;
    return q93::ReadConnectionSettings(EncoderFolderPath(encoder), current_);
}

bool LocationTree::hasStoredFile(const QTreeWidgetItem* node) {
    return node != nullptr && node->data(0, kStoredRole).toBool();
}

void LocationTree::lookForStoredFile(QTreeWidgetItem* node) {
    const int image = nodeImage(node);
    if (image == kEncoderImage || image == kPresetImage)
        showStored(node, isStoredFile(nodeFilePath(node)));
}

void LocationTree::showStored(QTreeWidgetItem* node, bool stored) {
    node->setData(0, kStoredRole, stored);
    if (stored && faultOf(node).isEmpty())
        node->setData(0, Qt::ForegroundRole, QVariant());
    else
        node->setForeground(0, palette().brush(QPalette::Disabled, QPalette::Text));
}

std::string LocationTree::nodeBlock(const QTreeWidgetItem* node) const {
    const ParameterSet& params = sheet_->parameters();
    switch (nodeImage(node)) {
        case kEncoderImage:
            return storedForm(encodeDevice(params.device));
        case kPresetImage:
            return storedForm(encodePreset(params.preset));
        default:
            return {};
    }
}

bool LocationTree::meantForFile(const QTreeWidgetItem* node) const {
    if (node != lastHandled_)
        return hasStoredFile(node);
    return visit_.hadFile || visit_.readFilled || nodeBlock(node) != visit_.arrivedWith;
}

void LocationTree::NoteReadFilled() {
    visit_.readFilled = true;
}

bool LocationTree::holdsValuesFor(const QTreeWidgetItem* node) const {
    if (node != lastHandled_)
        return hasStoredFile(node);
    return visit_.hadFile || visit_.readFilled;
}

NodeStore LocationTree::StoreNode(QTreeWidgetItem* node, bool always, std::string* reason) {
    const int image = nodeImage(node);
    if (image != kEncoderImage && image != kPresetImage)
        return NodeStore::Skipped;
    if (!sheet_->StoreActivePage())
        return NodeStore::Refused;
    if (!always && !meantForFile(node))
        return NodeStore::Skipped;
    const std::string path = nodeFilePath(node);
    errno = 0;
    const bool written =
        image == kEncoderImage ? sheet_->WriteDeviceFile(path) : sheet_->WritePresetFile(path);
    if (!written) {
        if (reason != nullptr)
            *reason = std::strerror(errno);
        return NodeStore::Failed;
    }
    showStored(node, true);
    if (node == lastHandled_)
        visit_.hadFile = true;
    return NodeStore::Written;
}

bool LocationTree::selectionAboutToChange(QTreeWidgetItem* leaving) {
    if (forgetting_)
        return true;
    DeviceStatus& status = sheet_->parameters().status;
    status.currentInput = -1;
    status.digitalChannels = -1;
    status.analogChannels = -1;
    return storeAsLeaving(leaving);
}

bool LocationTree::storeAsLeaving(QTreeWidgetItem* leaving) {
    switch (StoreNode(leaving, false)) {
        case NodeStore::Refused:
            return false;
        case NodeStore::Failed:
            // A preset file is passed over; a device.dat that cannot be written keeps its node.
            return nodeImage(leaving) != kEncoderImage;
        default:
            return true;
    }
}

void LocationTree::forgetSelection() {
    forgetting_ = true;
    selection_->setCurrentIndex(QModelIndex(), QItemSelectionModel::Clear);
    forgetting_ = false;
}

void LocationTree::selectionChanged(QTreeWidgetItem* arrived) {
    if (arrived == nullptr) {
        // Nothing selected: nothing to read, send or save, and the page of no node.
        if (onNodeButtons)
            onNodeButtons(false);
        lastHandled_ = nullptr;
        showPageSetFor(nullptr);
        return;
    }
    const bool newNode = arrived != lastHandled_;
    if (newNode) {
        readNodeFiles(arrived);
        lastHandled_ = arrived;
    }
    showPageSetFor(arrived);
    if (newNode)
        visit_ = Visit{hasStoredFile(arrived), false, nodeBlock(arrived)};
}

void LocationTree::readNodeFiles(QTreeWidgetItem* node) {
    const int image = nodeImage(node);
    if (onNodeButtons)
        onNodeButtons(image == kEncoderImage || image == kPresetImage);
    // The file may have come or gone since the tree was built (q93ctl, another tool).
    lookForStoredFile(node);
    if (image == kPresetImage) {
        // The transfers address the preset by this number, so it must follow the node even
        // when the node has no file yet to give it.
        sheet_->parameters().preset.presetNumber = presetNumberFromLabel(folderOf(node));
        sheet_->ReadPresetFile(nodeFilePath(node));
        sheet_->ReadDeviceFile(nodeFilePath(node->parent()));
    } else if (image == kEncoderImage) {
        sheet_->ReadDeviceFile(nodeFilePath(node));
    }
}

void LocationTree::showPageSetFor(QTreeWidgetItem* node) {
    const int image = nodeImage(node);
    if (image == lastImage_)
        return;
    if (image == kPresetImage)
        sheet_->ShowPresetPages();
    else if (image == kEncoderImage)
        sheet_->ShowDevicePages();
    else
        sheet_->ShowLocationPage();
    lastImage_ = image;
}

void LocationTree::mousePressEvent(QMouseEvent* event) {
    selection_->startNewGesture();
    if (event->button() != Qt::RightButton) {
        QTreeWidget::mousePressEvent(event);
        return;
    }
    // Empty space selects nothing and offers the menu with nothing to act on.
    QTreeWidgetItem* node = itemAt(event->position().toPoint());
    if (node != nullptr)
        setCurrentItem(node);
    showContextMenu(node, QCursor::pos() + QPoint(kMenuOffsetX, 0));
}

void LocationTree::keyPressEvent(QKeyEvent* event) {
    selection_->startNewGesture();
    // Shift+F10 is the other key that asks for the context menu; the platform makes a context
    // menu event only of the Menu key.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        showKeyboardContextMenu();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void LocationTree::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    if (event->reason() == QContextMenuEvent::Keyboard)
        showKeyboardContextMenu();
}

void LocationTree::showKeyboardContextMenu() {
    // At the selected node; with none, the menu of empty space at the tree's corner.
    QTreeWidgetItem* node = currentItem();
    QPoint at;
    if (node != nullptr) {
        scrollToItem(node);
        at = visualItemRect(node).center();
    }
    showContextMenu(node, viewport()->mapToGlobal(at) + QPoint(kMenuOffsetX, 0));
}

void LocationTree::showContextMenu(QTreeWidgetItem* node, const QPoint& at) {
    QMenu menu(this);
    const auto actions = addTreeMenuCommands(*this, menu, node);
    QAction* chosen = menu.exec(at);
    for (const auto& [action, command] : actions) {
        if (action == chosen)
            command->run(*this, node);
    }
}

void LocationTree::ShowProperties() {
    QTreeWidgetItem* encoder = currentItem();
    if (NodeDepth(encoder) != 2)
        return;
    ReadConnectionSettings(encoder);
    ConnectionSettings chosen = current_;
    if (!runConnectionDialog(chosen, this))
        return;
    if (!WriteConnectionSettings(EncoderFolderPath(encoder), chosen))
        return;
    encoder->setText(0, QString::fromStdString(nameText(encoderLabel(folderOf(encoder), chosen))));
    // The file is the tool's own now: whatever was doubtful about the old one is gone.
    showFault(encoder, {});
}

}  // namespace q93
