#pragma once

#include <utility>
#include <vector>

class QAction;
class QMenu;
class QTreeWidgetItem;

namespace q93 {

class LocationTree;

// One command of the location tree's context menu. `node` is the node the menu was opened
// on, nullptr for empty space.
struct TreeMenuCommand {
    const char* german;
    const char* english;
    // Whether the menu shows the command at all there.
    bool (*offered)(LocationTree& tree, QTreeWidgetItem* node);
    // Whether, shown, it can be chosen there.
    bool (*enabled)(QTreeWidgetItem* node);
    void (*run)(LocationTree& tree, QTreeWidgetItem* node);
};

// The commands offered at `node` added to `menu` in the current language, each enabled as
// it fits the node, with the action that stands for each.
std::vector<std::pair<QAction*, const TreeMenuCommand*>> addTreeMenuCommands(LocationTree& tree,
                                                                             QMenu& menu,
                                                                             QTreeWidgetItem* node);

}  // namespace q93
