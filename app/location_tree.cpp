#include "app/location_tree.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>

#include "app/app_images.h"
#include "app/vetoing_selection_model.h"
#include "link/connection_dialog.h"
#include "pages/property_sheet.h"
#include "pages/template_builder.h"
#include "protocol/parameter_set.h"
#include "resources/templates/main_window_templates.h"

namespace q93 {
namespace {

// What a node keeps beside its label: its folder's real name and its image.
constexpr int kFolderRole = Qt::UserRole;
constexpr int kImageRole = Qt::UserRole + 1;
// The context menu opens a little right of the pointer, clear of the item's text start.
constexpr int kMenuOffsetX = 10;

QTreeWidgetItem* makeNode(const std::string& label, const std::string& folder, int image) {
    auto* node = new QTreeWidgetItem(QStringList{QString::fromStdString(label)});
    node->setData(0, kFolderRole, QString::fromStdString(folder));
    node->setData(0, kImageRole, image);
    node->setIcon(0, treeImage(image));
    return node;
}

int nodeImage(const QTreeWidgetItem* node) {
    return node == nullptr ? -1 : node->data(0, kImageRole).toInt();
}

std::string folderOf(const QTreeWidgetItem* node) {
    return node->data(0, kFolderRole).toString().toStdString();
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
    // The right button is handled at the press (select, then the node's menu); the window's
    // own context menu must not follow it.
    setContextMenuPolicy(Qt::PreventContextMenu);
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
    for (const SiteFolder& site : scanLocationData(current_, root)) {
        QTreeWidgetItem* siteNode = makeNode(site.name, site.name, kSiteImage);
        addTopLevelItem(siteNode);
        for (const EncoderFolder& encoder : site.encoders) {
            QTreeWidgetItem* encoderNode = makeNode(encoder.label, encoder.name, kEncoderImage);
            siteNode->addChild(encoderNode);
            for (int n = 1; n <= kPresetsPerEncoder; ++n)
                encoderNode->addChild(makeNode(presetLabel(n), presetLabel(n), kPresetImage));
        }
    }
    setUpdatesEnabled(true);
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

bool LocationTree::selectionAboutToChange(QTreeWidgetItem* leaving) {
    DeviceStatus& status = parameterSet().status;
    status.currentInput = -1;
    status.digitalChannels = -1;
    status.analogChannels = -1;
    switch (nodeImage(leaving)) {
        case kEncoderImage:
            return sheet_->WriteDeviceFile(nodeFilePath(leaving));
        case kPresetImage:
            sheet_->WritePresetFile(nodeFilePath(leaving));
            return true;
        default:
            return true;
    }
}

void LocationTree::selectionChanged(QTreeWidgetItem* arrived) {
    if (arrived == nullptr)
        return;
    if (arrived != lastHandled_) {
        readNodeFiles(arrived);
        lastHandled_ = arrived;
    }
    showPageSetFor(arrived);
}

void LocationTree::readNodeFiles(QTreeWidgetItem* node) {
    const int image = nodeImage(node);
    if (onNodeButtons)
        onNodeButtons(image == kEncoderImage || image == kPresetImage);
    if (image == kPresetImage) {
        // The transfers address the preset by this number, so it must follow the node even
        // when the node has no file yet to give it.
        parameterSet().preset.presetNumber = presetNumberFromLabel(folderOf(node));
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
    // Empty space: no node to select and nothing to offer.
    QTreeWidgetItem* node = itemAt(event->position().toPoint());
    if (node == nullptr)
        return;
    setCurrentItem(node);
    showContextMenu(node);
}

void LocationTree::keyPressEvent(QKeyEvent* event) {
    selection_->startNewGesture();
    QTreeWidget::keyPressEvent(event);
}

void LocationTree::showContextMenu(QTreeWidgetItem* node) {
    QMenu menu(this);
    const MenuItemTemplate& item = deviceContextMenuItem();
    QAction* properties = menu.addAction(templateText(item.german, item.english));
    properties->setEnabled(NodeDepth(node) == 2);
    if (menu.exec(QCursor::pos() + QPoint(kMenuOffsetX, 0)) == properties)
        ShowProperties();
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
    encoder->setText(0, QString::fromStdString(encoderLabel(folderOf(encoder), chosen)));
}

}  // namespace q93
