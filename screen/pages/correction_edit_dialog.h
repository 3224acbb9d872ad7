#pragma once

#include <QDialog>
#include <QString>

namespace q93 {

class CMaskEdit;

// Dialog 104: edits one correction value as text. The edit takes digits, point and comma
// only; a comma comes back as a point.
class CorrectionEditDialog : public QDialog {
    Q_OBJECT

public:
    explicit CorrectionEditDialog(const QString& value, QWidget* parent = nullptr);

    // The edited text, each ',' replaced by '.'; meaningful after the dialog was accepted.
    QString value() const;

    CMaskEdit* valueEdit() const { return edit_; }

private:
    CMaskEdit* edit_ = nullptr;
};

}  // namespace q93
