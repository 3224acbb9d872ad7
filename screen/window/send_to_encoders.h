#pragma once

#include <memory>

class QTreeWidgetItem;

namespace q93 {

class LocationTree;
class SendToEncodersDialog;

// The "Send to other encoders..." dialog for a preset node (that preset's values, to the same
// preset of the others) or an encoder node (its device settings), over every other encoder of
// the tree. The shown node's edits are filed first, as leaving it would, so that what goes out
// is what the user sees; nullptr when that, or reading the node's file, fails (the user has
// been told why).
std::unique_ptr<SendToEncodersDialog> sendNodeToEncoders(LocationTree* tree, QTreeWidgetItem* node);

}  // namespace q93
