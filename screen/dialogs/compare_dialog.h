#pragma once

#include <QDialog>
#include <vector>

#include "store/block_compare.h"

class QTreeWidget;

namespace q93 {

// The fields of a node that differ, stored against encoder, in the units and decimals of
// the pages. It only shows: nothing is written or sent from here.
class CompareDialog : public QDialog {
    Q_OBJECT

public:
    CompareDialog(const QString& nodeName, const std::vector<FieldDifference>& differences,
                  QWidget* parent = nullptr);

    QTreeWidget* table() const { return table_; }

private:
    QTreeWidget* table_;
};

}  // namespace q93
