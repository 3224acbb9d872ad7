#include "screen/kit/mask_edit.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QMenu>

#include <algorithm>

#include "protocol/number_format.h"

namespace q93 {
namespace {

constexpr std::size_t kMaxValidChars = 255;

// Control codes that pass the filter whatever the set: backspace, Ctrl+B, Ctrl+V, Ctrl+X.
// Ctrl+C (3) is not among them and is dropped like any character outside the set.
constexpr char kPassingCodes[] = {8, 2, 22, 24};

// The character code a key press produces, as the platform's character message gives it, or
// -1 when it produces no character. Keys such as the arrows or Delete (which X11 and Wayland
// give the text "\x7f"), and Return, Tab or Escape, have no character to filter.
int characterCode(const QKeyEvent* event) {
    if (event->key() == Qt::Key_Backspace) {
        return 8;
    }
    const bool control = event->modifiers().testFlag(Qt::ControlModifier);
    if (control && event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z) {
        return event->key() - Qt::Key_A + 1;
    }
    const QString text = event->text();
    if (text.isEmpty()) {
        return -1;
    }
    const char16_t unit = text.at(0).unicode();
    if (unit < 0x20 || unit == 0x7f) {
        return -1;
    }
    return unit < 0x80 ? static_cast<int>(unit) : 0x80;
}

// The user actions besides typing that can insert text: a paste from the keyboard, the
// middle mouse button's selection paste, a drop, an input method's commit. Undo and redo
// bring back a text the control already had, which the limit never cuts.
bool mayInsertText(QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress: {
            const auto* key = static_cast<const QKeyEvent*>(event);
            return !key->matches(QKeySequence::Undo) && !key->matches(QKeySequence::Redo);
        }
        case QEvent::MouseButtonRelease:
        case QEvent::Drop:
        case QEvent::InputMethod:
            return true;
        default:
            return false;
    }
}

}  // namespace

CMaskEdit::CMaskEdit(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (doubtful_) {
            doubtful_ = false;
            applyColors();
        }
        checkRange();
    });
    applyColors();
}

void CMaskEdit::ShowDoubtful() {
    doubtful_ = true;
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

void CMaskEdit::SetTextLimit(int length) {
    textLimit_ = length > 0 ? length : 0;
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

// A typed character that does not fit is refused before it reaches the text, so that the
// undo history stays as it was.
bool CMaskEdit::fitsTextLimit(const QKeyEvent* event) const {
    const QString typed = event->text();
    if (textLimit_ == 0 || typed.isEmpty() || !typed.at(0).isPrint()) {
        return true;
    }
    return typed.size() <= textLimit_ - (text().size() - selectedText().size());
}

void CMaskEdit::keyPressEvent(QKeyEvent* event) {
    if (!passesFilter(event) || !fitsTextLimit(event)) {
        event->accept();  // dropped silently
        return;
    }
    QLineEdit::keyPressEvent(event);
}

bool CMaskEdit::event(QEvent* event) {
    if (textLimit_ == 0 || !mayInsertText(event)) {
        return QLineEdit::event(event);
    }
    const QString before = text();
    const bool handled = QLineEdit::event(event);
    cutToTextLimit(before);
    return handled;
}

// The standard menu, whose Paste is held to the limit like the keyboard's.
void CMaskEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    if (textLimit_ != 0) {
        const QString before = text();
        for (QAction* action : menu->actions()) {
            if (action->text().startsWith(QLineEdit::tr("&Paste"))) {
                connect(action, &QAction::triggered, this,
                        [this, before] { cutToTextLimit(before); });
            }
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

// Keeps of what the last user action inserted only as much as fits, as the platform's edit
// does with a paste that is too long; a deletion or a text the owner set is left alone.
void CMaskEdit::cutToTextLimit(const QString& before) {
    const QString after = text();
    if (after.size() <= textLimit_) {
        return;
    }
    const qsizetype common = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < common && before[prefix] == after[prefix]) {
        ++prefix;
    }
    qsizetype suffix = 0;
    while (prefix + suffix < common &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
        ++suffix;
    }
    const qsizetype inserted = after.size() - prefix - suffix;
    const qsizetype fits = std::max<qsizetype>(0, textLimit_ - (prefix + suffix));
    if (inserted <= fits) {
        return;
    }
    setText(after.left(prefix + fits) + after.right(suffix));
    setCursorPosition(static_cast<int>(prefix + fits));
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
    if (doubtful_ && isEnabled()) {
        return invalidColor();
    }
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
