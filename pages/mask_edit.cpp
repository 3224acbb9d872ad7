#include "pages/mask_edit.h"

#include <QEvent>
#include <QKeyEvent>

#include "pages/number_format.h"

namespace q93 {
namespace {

constexpr std::size_t kMaxValidChars = 255;

// Control codes that pass the filter whatever the set: backspace, Ctrl+B, Ctrl+V, Ctrl+X.
// Ctrl+C (3) is not among them and is dropped like any character outside the set.
constexpr char kPassingCodes[] = {8, 2, 22, 24};

// Keys the surrounding dialog or the edit handles without a character of their own.
bool isNonCharacterKey(const QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Escape:
            return true;
        default:
            return false;
    }
}

// The character code a key press produces, or -1 when it produces none (arrows, Delete).
int characterCode(const QKeyEvent* event) {
    if (event->key() == Qt::Key_Backspace) {
        return 8;
    }
    const bool control = event->modifiers().testFlag(Qt::ControlModifier);
    if (control && event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z) {
        return event->key() - Qt::Key_A + 1;
    }
    const QString text = event->text();
    if (text.isEmpty() || isNonCharacterKey(event)) {
        return -1;
    }
    const char16_t unit = text.at(0).unicode();
    return unit < 0x80 ? static_cast<int>(unit) : 0x80;
}

}  // namespace

CMaskEdit::CMaskEdit(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textChanged, this, [this] { checkRange(); });
    applyColors();
}

void CMaskEdit::SetValidChars(const char* chars) {
    if (chars == nullptr || *chars == '\0') {
        return;
    }
    validChars_ = std::string(chars).substr(0, kMaxValidChars);
    filterOn_ = true;
}

void CMaskEdit::SetIntRange(int min, int max) {
    rangeKind_ = 'i';
    rangeMin_ = min;
    rangeMax_ = max;
    applyColors();
}

bool CMaskEdit::passesFilter(const QKeyEvent* event) const {
    if (!filterOn_) {
        return true;
    }
    const int code = characterCode(event);
    if (code < 0) {
        return true;
    }
    for (char passing : kPassingCodes) {
        if (code == passing) {
            return true;
        }
    }
    return code < 0x80 && code != 0 &&
           validChars_.find(static_cast<char>(code)) != std::string::npos;
}

void CMaskEdit::keyPressEvent(QKeyEvent* event) {
    if (!passesFilter(event)) {
        event->accept();  // dropped silently
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CMaskEdit::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        applyColors();
    }
}

// Every change of the text is checked, typed, pasted or set by the owner, so the colour
// always matches what the control shows.
void CMaskEdit::checkRange() {
    if (rangeKind_ == 0) {
        return;
    }
    const double value = ParseDecimalPrefix(text().left(254).toStdString());
    isValid_ = rangeMin_ <= value && value <= rangeMax_;
    applyColors();
}

QColor CMaskEdit::backgroundColor() const {
    if (rangeKind_ == 0) {
        return normalColor();
    }
    if (!isEnabled()) {
        return disabledColor();
    }
    return isValid_ ? normalColor() : invalidColor();
}

void CMaskEdit::applyColors() {
    QPalette colors = palette();
    const QColor background = backgroundColor();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colors.setColor(group, QPalette::Base, background);
        colors.setColor(group, QPalette::Text, Qt::black);
    }
    setPalette(colors);
    update();
}

}  // namespace q93
