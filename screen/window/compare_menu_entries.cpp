#include "screen/window/compare_menu_entries.h"

#include <QCoreApplication>

#include "base/user_seam.h"
#include "history/settings_history.h"
#include "screen/dialogs/compare_dialog.h"
#include "screen/dialogs/history_dialog.h"
#include "screen/window/location_tree.h"
#include "store/encoder_compare.h"
#include "store/encoder_lock.h"
#include "store/name_text.h"

namespace q93 {
namespace {

QString menuText(const char* text) {
    return QCoreApplication::translate("q93::CompareMenu", text);
}

// "./LocationData/SITE/ENC/" taken apart: the root with its separator, and the two names.
struct EncoderPlace {
    std::string root;
    EncoderName name;
};

EncoderPlace placeOf(const std::string& folder) {
    const std::size_t encoderEnd = folder.size() - 1;
    const std::size_t siteEnd = folder.rfind('/', encoderEnd - 1);
    const std::size_t rootEnd = folder.rfind('/', siteEnd - 1);
    return {folder.substr(0, rootEnd + 1),
            {folder.substr(rootEnd + 1, siteEnd - rootEnd - 1),
             folder.substr(siteEnd + 1, encoderEnd - siteEnd - 1)}};
}

QString shownName(const EncoderName& name, int preset) {
    std::string text = name.site + "/" + name.encoder;
    if (preset > 0)
        text += "/" + presetLabel(preset);
    return QString::fromStdString(nameText(text));
}

}  // namespace

std::unique_ptr<CompareDialog> compareNodeWithEncoder(LocationTree* tree, QTreeWidgetItem* node) {
    QTreeWidgetItem* encoder = LocationTree::encoderOf(node);
    if (encoder == nullptr)
        return nullptr;
    const int preset =
        LocationTree::NodeDepth(node) == 3 ? presetNumberFromLabel(node->text(0).toStdString()) : 0;
    const std::string folder = tree->EncoderFolderPath(encoder);
    const QString name = shownName(placeOf(folder).name, preset);
    // A compare reads the encoder: like every transfer, not while another program uses it.
    EncoderLock lock;
    std::string busy;
    if (!lock.acquire(folder, kTransferLockWait, &busy)) {
        showWarning(busy);
        return nullptr;
    }
    if (const QString refused = tree->transferRefusal(encoder); !refused.isEmpty()) {
        showWarning(refused.toStdString());
        return nullptr;
    }
    std::vector<FieldDifference> differences;
    switch (CompareStoredWithEncoder(folder, preset, tree->currentSettings(), differences)) {
        case CompareResult::Compared:
            return std::make_unique<CompareDialog>(name, differences, tree->window());
        case CompareResult::NothingStored:
            showWarning(menuText("Nothing is stored for %1 yet: read it or save it first.")
                            .arg(name)
                            .toStdString());
            return nullptr;
        case CompareResult::ReadFailed:
            break;
    }
    return nullptr;
}

std::unique_ptr<HistoryDialog> historyOfEncoder(LocationTree* tree, QTreeWidgetItem* encoder) {
    if (LocationTree::NodeDepth(encoder) != 2)
        return nullptr;
    const EncoderPlace place = placeOf(tree->EncoderFolderPath(encoder));
    std::vector<Version> versions;
    std::string error;
    if (!listVersions(place.root, {place.name}, versions, &error)) {
        showWarning(error);
        return nullptr;
    }
    return std::make_unique<HistoryDialog>(shownName(place.name, 0), versions, tree->window());
}

bool keepsHistory(LocationTree* tree, QTreeWidgetItem* encoder) {
    return hasHistory(placeOf(tree->EncoderFolderPath(encoder)).root);
}

}  // namespace q93
