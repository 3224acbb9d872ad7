#include "screen/pages/page_helpers.h"

#include "protocol/number_format.h"
#include "screen/kit/mask_edit.h"

namespace q93 {
namespace {

std::string controlText(const QLineEdit* control) {
    return control == nullptr ? std::string() : control->text().toStdString();
}

void setOn(QAbstractButton* button, bool on) {
    // Turning a button of an exclusive group off only works by turning another one on, so
    // the caller turns the new button on first.
    button->setChecked(on);
}

}  // namespace

void FormatFixed(double value, int decimals, QLineEdit* control) {
    if (control != nullptr) {
        control->setText(QString::fromStdString(FormatFixed(value, decimals)));
    }
}

double ParseNumber(const QLineEdit* control) {
    return ParseNumber(controlText(control));
}

double ParseRounded(const QLineEdit* control, int decimals) {
    return ParseRounded(controlText(control), decimals);
}

int ParseInteger(const QLineEdit* control) {
    return ParseInteger(controlText(control));
}

void FormatInteger(QLineEdit* control, int value) {
    if (control != nullptr) {
        control->setText(QString::fromStdString(FormatInteger(value)));
    }
}

void SetRadioPair(int flag, QAbstractButton* a, QAbstractButton* b) {
    if (a == nullptr || b == nullptr) {
        return;
    }
    QAbstractButton* on = flag != 0 ? a : b;
    QAbstractButton* off = flag != 0 ? b : a;
    setOn(on, true);
    setOn(off, false);
}

void SetRadioOfFour(int index, QAbstractButton* b0, QAbstractButton* b1, QAbstractButton* b2,
                    QAbstractButton* b3) {
    QAbstractButton* buttons[] = {b0, b1, b2, b3};
    for (QAbstractButton* button : buttons) {
        if (button == nullptr) {
            return;
        }
    }
    if (index < 0 || index > 3) {
        return;
    }
    setOn(buttons[index], true);
    for (int i = 0; i < 4; ++i) {
        if (i != index) {
            setOn(buttons[i], false);
        }
    }
}

bool isOn(const QAbstractButton* button) {
    return button != nullptr && button->isChecked();
}

void SelectListIndex(QComboBox* list, int index) {
    if (list == nullptr) {
        return;
    }
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

int SelectedListIndex(const QComboBox* list) {
    return list == nullptr ? -1 : list->currentIndex();
}

void SetLabelText(QLabel* label, const std::string& text) {
    if (label != nullptr) {
        label->setText(QString::fromStdString(text));
    }
}

void SetEditFilter(QLineEdit* edit, const char* chars, int maxLength) {
    // QLineEdit's own maximum length would also cut the values the page loads.
    if (auto* masked = qobject_cast<CMaskEdit*>(edit)) {
        masked->SetValidChars(chars);
        masked->SetTextLimit(maxLength);
    }
}

}  // namespace q93
