#include "screen/dialogs/send_anyway_box.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

#include "screen/dialogs/gui_seam.h"

namespace q93 {
namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("q93::SendAnywayBox", text);
}

}  // namespace

bool askSendAnyway(QWidget* parent, const QStringList& fields) {
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kBoxTitle),
                    tr("These values are outside what the pages allow, so nothing was sent:"),
                    QMessageBox::NoButton, parent);
    box.setInformativeText(
        "\u2022 " + fields.join("\n\u2022 ") + "\n\n" +
        tr("Correct them on their pages and press Update again, or send them as they are."));
    // Wide enough that a field's line, its value and its range, reads as one line.
    box.setStyleSheet(QStringLiteral("QLabel#qt_msgbox_informativelabel { min-width: 42em; }"));
    QPushButton* keep = box.addButton(QMessageBox::Cancel);
    QPushButton* send = box.addButton(tr("Send anyway"), QMessageBox::DestructiveRole);
    box.setDefaultButton(keep);
    box.setEscapeButton(keep);
    send->setAutoDefault(false);
    box.exec();
    return box.clickedButton() == send;
}

}  // namespace q93
