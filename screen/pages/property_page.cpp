#include "screen/pages/property_page.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <cmath>
#include <cstdint>

#include "screen/kit/mask_edit.h"
#include "screen/kit/template_builder.h"
#include "screen/pages/page_helpers.h"

namespace q93 {
namespace {

// An empty list in red while its loaded index has no entry; the colour goes with the first
// entry chosen.
void markList(QComboBox* list, bool doubtful) {
    QPalette colours = list->palette();
    const QColor red = CMaskEdit::invalidColor();
    for (QPalette::ColorRole role : {QPalette::Button, QPalette::Base}) {
        colours.setColor(role, doubtful ? red : QApplication::palette(list).color(role));
    }
    list->setPalette(colours);
    if (doubtful) {
        QObject::connect(
            list, &QComboBox::currentIndexChanged, list,
            [list](int index) {
                if (index >= 0)
                    markList(list, false);
            },
            Qt::SingleShotConnection);
    }
}

}  // namespace

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
    if (std::isfinite(shown)) {
        FormatFixed(shown, decimals, edit);
    } else {
        edit->setText(QString());
        if (auto* masked = qobject_cast<CMaskEdit*>(edit))
            masked->ShowDoubtful();
    }
    loaded_[id] = LoadedNumber{edit->text(), exact};
}

bool PropertyPage::ShowsLoadedText(int id) const {
    const auto* edit = controlAs<QLineEdit>(id);
    const auto found = loaded_.find(id);
    return edit != nullptr && found != loaded_.end() && edit->text() == found->second.text;
}

void PropertyPage::ShowListIndex(int id, int value, int first) {
    auto* list = controlAs<QComboBox>(id);
    if (list == nullptr) {
        return;
    }
    // In 64 bits: a corrupt file may hold any number, down to INT_MIN.
    const std::int64_t entry = std::int64_t{value} - first;
    SelectListIndex(list, entry >= 0 && entry < list->count() ? static_cast<int>(entry) : -1);
    loadedLists_[id] = value;
    markList(list, list->currentIndex() < 0);
}

int PropertyPage::StoredListIndex(int id, int first) const {
    const auto* list = controlAs<QComboBox>(id);
    const auto found = loadedLists_.find(id);
    if (list == nullptr || list->currentIndex() >= 0 || found == loadedLists_.end()) {
        return SelectedListIndex(list) + first;
    }
    return found->second;
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
