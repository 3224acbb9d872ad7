#pragma once

#include <memory>

class QTreeWidgetItem;

namespace q93 {

class CompareDialog;
class HistoryDialog;
class LocationTree;

// What the tree's context menu entries that look back (tree_menu.h) open, unshown, for the
// caller to run: the node compared with its encoder (nullptr when nothing was compared; the
// user has been told why), and an encoder's history (nullptr when it cannot be read; told as
// well).
std::unique_ptr<CompareDialog> compareNodeWithEncoder(LocationTree* tree, QTreeWidgetItem* node);
std::unique_ptr<HistoryDialog> historyOfEncoder(LocationTree* tree, QTreeWidgetItem* encoder);
// Whether LocationData, where the encoder's folder is, keeps a settings history.
bool keepsHistory(LocationTree* tree, QTreeWidgetItem* encoder);

}  // namespace q93
