#pragma once

#include <QDialog>

namespace q93 {

// Dialog 100: the icon, the version line and OK, titled like the main window.
class AboutBox : public QDialog {
    Q_OBJECT

public:
    explicit AboutBox(QWidget* parent = nullptr);
};

}  // namespace q93
