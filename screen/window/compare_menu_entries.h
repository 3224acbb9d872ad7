#pragma once

#include <memory>

class QMenu;
class QTreeWidgetItem;
class QWidget;

namespace q93 {

class CompareDialog;
class HistoryDialog;
class LocationTree;

// The tree's context menu entries that look back: "Compare with encoder..." on an encoder or
// preset, and "History..." on an encoder where LocationData keeps a settings history.
void addCompareMenuEntries(LocationTree* tree, QMenu& menu, QTreeWidgetItem* node);

// What the entries open, unshown, for the caller to run: the node compared with its encoder
// (nullptr when nothing was compared; the user has been told why), and an encoder's history
// (nullptr when it cannot be read; told as well).
std::unique_ptr<CompareDialog> compareNodeWithEncoder(LocationTree* tree, QTreeWidgetItem* node);
std::unique_ptr<HistoryDialog> historyOfEncoder(LocationTree* tree, QTreeWidgetItem* encoder);

}  // namespace q93
