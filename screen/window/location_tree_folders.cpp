// The context menu's folder commands of the location tree: sites and encoders made, renamed
// and moved to the trash while the tool runs.
#include <QCoreApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <memory>
#include <optional>

#include "base/user_seam.h"
#include "screen/window/location_tree.h"
#include "store/encoder_lock.h"
#include "store/folder_trash.h"
#include "store/location_folders.h"
#include "store/name_text.h"

namespace q93 {
namespace {

QTreeWidgetItem* siteOf(QTreeWidgetItem* node) {
    while (node != nullptr && node->parent() != nullptr)
        node = node->parent();
    return node;
}

bool isSiteOrEncoder(QTreeWidgetItem* node) {
    const int depth = LocationTree::NodeDepth(node);
    return depth == 1 || depth == 2;
}

QString shown(const std::string& bytes) {
    return QString::fromStdString(nameText(bytes));
}

// The name typed, as the bytes the folder gets; nullopt when the dialog was cancelled.
std::optional<std::string> askName(QWidget* parent, const QString& title, const QString& label,
                                   const QString& initial = {}) {
    bool ok = false;
    const QString name =
        QInputDialog::getText(parent, title, label, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return name.toUtf8().toStdString();
}

// The encoder folders a site or encoder folder holds (itself, for an encoder), locked for as
// long as the result lives, so that no q93ctl job writes them while they move. Takes none
// and says why when one is in use.
std::optional<std::vector<std::unique_ptr<EncoderLock>>> lockEncoders(const std::string& folder,
                                                                      bool isSite,
                                                                      std::string* error) {
    std::vector<std::string> encoders{folder};
    if (isSite) {
        encoders.clear();
        for (const std::string& name : listFolders(folder))
            encoders.push_back(folder + name + "/");
    }
    std::vector<std::unique_ptr<EncoderLock>> locks;
    for (const std::string& encoder : encoders) {
        auto lock = std::make_unique<EncoderLock>();
        if (!lock->acquire(encoder, std::chrono::milliseconds(0), error))
            return std::nullopt;
        locks.push_back(std::move(lock));
    }
    return locks;
}

}  // namespace

std::string LocationTree::parentFolderOf(const QTreeWidgetItem* node) const {
    return node->parent() == nullptr ? root_ : root_ + folderName(node->parent()) + "/";
}

bool LocationTree::acceptsNewName(const std::string& parentFolder, const std::string& name) {
    const NameFault fault = newFolderNameFault(parentFolder, name);
    if (fault == NameFault::None)
        return true;
    const QString reason = QCoreApplication::translate("q93::NameFault", nameFaultReason(fault));
    showWarning(tr("The name '%1' %2; choose another.").arg(shown(name), reason).toStdString());
    return false;
}

void LocationTree::NewSite() {
    const std::optional<std::string> name =
        askName(this, tr("New site"), tr("Name of the new site:"));
    if (!name || !acceptsNewName(root_, *name))
        return;
    std::string error;
    if (!CreateSiteFolder(*name, root_, &error)) {
        showWarning(tr("'%1' was not made: %2.").arg(shown(*name), shown(error)).toStdString());
        return;
    }
    QTreeWidgetItem* site = addSiteNode(*name);
    showWhereDataIs();
    setCurrentItem(site);
}

void LocationTree::NewEncoder(QTreeWidgetItem* node) {
    QTreeWidgetItem* site = siteOf(node);
    if (site == nullptr)
        return;
    const std::string siteName = folderName(site);
    const std::optional<std::string> name = askName(
        this, tr("New encoder"), tr("Name of the new encoder at '%1':").arg(shown(siteName)));
    if (!name || !acceptsNewName(root_ + siteName + "/", *name))
        return;
    ConnectionSettings settings;
    if (!runConnectionDialog(settings, this))
        return;
    std::string error;
    if (!CreateEncoder(siteName, *name, settings, root_, false, &error)) {
        showWarning(tr("'%1' was not made: %2.").arg(shown(*name), shown(error)).toStdString());
        return;
    }
    QTreeWidgetItem* encoder =
        addEncoderNode(site, EncoderFolder{*name, encoderLabel(*name, settings), true, {}, {}});
    site->setExpanded(true);
    setCurrentItem(encoder);
}

void LocationTree::RenameNode(QTreeWidgetItem* node) {
    if (!isSiteOrEncoder(node) || !storeAsLeaving(currentItem()))
        return;
    const std::string old = folderName(node);
    const std::optional<std::string> name =
        askName(this, tr("Rename"), tr("New name for '%1':").arg(shown(old)), shown(old));
    if (!name || *name == old || !acceptsNewName(parentFolderOf(node), *name))
        return;
    std::string error;
    const auto locks = lockEncoders(parentFolderOf(node) + old + "/", NodeDepth(node) == 1, &error);
    if (!locks || !RenameFolder(parentFolderOf(node), old, *name, &error)) {
        showWarning(tr("'%1' was not renamed: %2.").arg(shown(old), shown(error)).toStdString());
        return;
    }
    renameNode(node, *name);
}

void LocationTree::RemoveNode(QTreeWidgetItem* node) {
    if (!isSiteOrEncoder(node) || !storeAsLeaving(currentItem()))
        return;
    const bool isSite = NodeDepth(node) == 1;
    const std::string name = folderName(node);
    const std::string folder = parentFolderOf(node) + name + "/";
    const QString question =
        isSite ? tr("Remove the site '%1'?\nIts folder goes to the desktop's trash with "
                    "everything in it (encoders: %2, stored files: %3).")
                     .arg(shown(name))
                     .arg(listFolders(folder).size())
                     .arg(countFiles(folder))
               : tr("Remove the encoder '%1'?\nIts folder goes to the desktop's trash with "
                    "everything in it (stored files: %2).")
                     .arg(shown(name))
                     .arg(countFiles(folder));
    if (QMessageBox::question(this, tr("Remove"), question, QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    std::string error;
    std::string trashedAs;
    const auto locks = lockEncoders(folder, isSite, &error);
    if (!locks || !moveToTrash(folder, &trashedAs, &error)) {
        showWarning(tr("'%1' was not removed: %2.").arg(shown(name), shown(error)).toStdString());
        return;
    }
    QTreeWidgetItem* selected = currentItem();
    if (selected != nullptr &&
        (selected == node || siteOf(selected) == node || selected->parent() == node)) {
        forgetSelection();
    }
    delete node;
    showWhereDataIs();
}

}  // namespace q93
