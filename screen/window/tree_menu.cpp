#include "screen/window/tree_menu.h"

#include <QMenu>
#include <memory>

#include "screen/dialogs/compare_dialog.h"
#include "screen/dialogs/history_dialog.h"
#include "screen/dialogs/send_to_encoders_dialog.h"
#include "screen/kit/template_builder.h"
#include "screen/window/compare_menu_entries.h"
#include "screen/window/location_tree.h"
#include "screen/window/send_to_encoders.h"

namespace q93 {
namespace {

bool always(LocationTree&, QTreeWidgetItem*) {
    return true;
}
bool anywhere(QTreeWidgetItem*) {
    return true;
}
// Over a LocationData that cannot be listed, a new site could take the name of one unseen.
bool whereSitesAreListed(LocationTree& tree, QTreeWidgetItem*) {
    return tree.unlistedReason().empty();
}
// A site that cannot be listed may hold the name already.
bool onAListedNode(QTreeWidgetItem* node) {
    return node != nullptr && !LocationTree::isUnlistedSite(node);
}
bool onSiteOrEncoder(QTreeWidgetItem* node) {
    const int depth = LocationTree::NodeDepth(node);
    return depth == 1 || depth == 2;
}
bool onEncoder(QTreeWidgetItem* node) {
    return LocationTree::NodeDepth(node) == 2;
}
bool onEncoderOrPreset(QTreeWidgetItem* node) {
    return LocationTree::NodeDepth(node) >= 2;
}

template <class Dialog>
void runUnlessEmpty(std::unique_ptr<Dialog> dialog) {
    if (dialog)
        dialog->exec();
}

// History is left out, not greyed, where LocationData keeps none.
bool whereHistoryIsKept(LocationTree& tree, QTreeWidgetItem* node) {
    return onEncoder(node) && keepsHistory(&tree, node);
}

// Every command, in the order shown: the folder commands and Properties of the tool's menu
// 146 ("DeviceContext"), then the entries that look back at the encoder.
constexpr TreeMenuCommand kCommands[] = {
    {"Neuer Standort...", "New site...", whereSitesAreListed, anywhere,
     [](LocationTree& tree, QTreeWidgetItem*) { tree.NewSite(); }},
    {"Neuer Encoder...", "New encoder...", always, onAListedNode,
     [](LocationTree& tree, QTreeWidgetItem* node) { tree.NewEncoder(node); }},
    {"Umbenennen...", "Rename...", always, onSiteOrEncoder,
     [](LocationTree& tree, QTreeWidgetItem* node) { tree.RenameNode(node); }},
    {"Entfernen...", "Remove...", always, onSiteOrEncoder,
     [](LocationTree& tree, QTreeWidgetItem* node) { tree.RemoveNode(node); }},
    {"Eigenschaften...", "Properties...", always, onEncoder,
     [](LocationTree& tree, QTreeWidgetItem*) { tree.ShowProperties(); }},
    {"Mit Gerät vergleichen...", "Compare with encoder...", always, onEncoderOrPreset,
     [](LocationTree& tree, QTreeWidgetItem* node) {
         runUnlessEmpty(compareNodeWithEncoder(&tree, node));
     }},
    {"An andere Encoder senden...", "Send to other encoders...", always, onEncoderOrPreset,
     [](LocationTree& tree, QTreeWidgetItem* node) {
         runUnlessEmpty(sendNodeToEncoders(&tree, node));
     }},
    {"Verlauf...", "History...", whereHistoryIsKept, anywhere,
     [](LocationTree& tree, QTreeWidgetItem* node) {
         runUnlessEmpty(historyOfEncoder(&tree, node));
     }},
};

}  // namespace

std::vector<std::pair<QAction*, const TreeMenuCommand*>> addTreeMenuCommands(
    LocationTree& tree, QMenu& menu, QTreeWidgetItem* node) {
    std::vector<std::pair<QAction*, const TreeMenuCommand*>> actions;
    for (const TreeMenuCommand& command : kCommands) {
        if (!command.offered(tree, node))
            continue;
        QAction* action = menu.addAction(templateText(command.german, command.english));
        action->setEnabled(command.enabled(node));
        actions.emplace_back(action, &command);
    }
    return actions;
}

}  // namespace q93
