#include "pages/property_page.h"

#include "pages/template_builder.h"

namespace q93 {

PropertyPage::PropertyPage(const DialogTemplate& dialog, QWidget* parent)
    : QWidget(parent), dialog_(dialog) {
    // Known before the controls exist, so that the sheet can take the size of its pages.
    setMinimumSize(dialogPixelSize(dialog_));
}

QString PropertyPage::caption() const {
    return dialogTitle(dialog_);
}

void PropertyPage::ensureBuilt() {
    if (built_) {
        return;
    }
    controls_ = buildTemplate(dialog_, this);
    InitDialog();
    // Set last, so that a load triggered while the controls are being set up is skipped.
    built_ = true;
}

QWidget* PropertyPage::control(int id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}

}  // namespace q93
