#include "screen/pages/property_page.h"

#include <QLineEdit>

#include "screen/kit/template_builder.h"
#include "screen/pages/page_helpers.h"

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
    buildTemplate(dialog_, this);
    InitDialog();
    // Set last, so that a load triggered while the controls are being set up is skipped.
    built_ = true;
}

void PropertyPage::ShowNumber(int id, double shown, int decimals, std::optional<double> exact) {
    auto* edit = controlAs<QLineEdit>(id);
    if (edit == nullptr) {
        return;
    }
    FormatFixed(shown, decimals, edit);
    loaded_[id] = LoadedNumber{edit->text(), exact};
}

double PropertyPage::StoredNumber(int id, double parsed) const {
    const auto* edit = controlAs<QLineEdit>(id);
    const auto found = loaded_.find(id);
    if (edit == nullptr || found == loaded_.end() || !found->second.exact.has_value() ||
        edit->text() != found->second.text) {
        return parsed;
    }
    return *found->second.exact;
}

double PropertyPage::StoredRounded(int id, int decimals) const {
    return StoredNumber(id, ParseRounded(controlAs<QLineEdit>(id), decimals));
}

}  // namespace q93
