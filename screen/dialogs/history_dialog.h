#pragma once

#include <QDialog>
#include <vector>

#include "history/settings_history.h"

class QTreeWidget;

namespace q93 {

// The versions of one encoder's stored files, newest first, each with the fields it
// changed, from the settings history.
class HistoryDialog : public QDialog {
    Q_OBJECT

public:
    HistoryDialog(const QString& encoderName, const std::vector<Version>& versions,
                  QWidget* parent = nullptr);

    QTreeWidget* list() const { return list_; }

private:
    QTreeWidget* list_;
};

}  // namespace q93
