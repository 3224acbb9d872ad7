#include "screen/dialogs/about_box.h"

#include <QLabel>
#include <QPushButton>

#include "resources/templates/main_window_templates.h"
#include "resources/version_text.h"
#include "screen/kit/app_images.h"
#include "screen/kit/template_builder.h"

namespace q93 {
namespace {

constexpr int kIconPixels = 32;

}  // namespace

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    const DialogTemplate& dialog = aboutBoxTemplate();
    buildTemplate(dialog, this);
    setWindowTitle(QString::fromStdString(WindowTitle()));
    auto* icon = new QLabel(this);
    icon->setPixmap(programIcon().pixmap(kIconPixels, kIconPixels));
    icon->setGeometry(DialogUnits(font()).toPixels(7, 7, 20, 20));
    resize(dialogPixelSize(dialog));
    if (auto* ok = control<QPushButton>(this, kAboutOkId))
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace q93
