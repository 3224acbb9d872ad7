#include "screen/kit/ip_address_edit.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <algorithm>

namespace q93 {
namespace {

constexpr int kFieldDigits = 3;
constexpr int kHighestField = 255;

}  // namespace

IpAddressEdit::IpAddressEdit(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 0, 2, 0);
    row->setSpacing(0);
    const QRegularExpression digits(QStringLiteral("[0-9]{0,3}"));
    for (int i = 0; i < static_cast<int>(fields_.size()); ++i) {
        if (i > 0) {
            auto* dot = new QLabel(QStringLiteral("."), this);
            dot->setBackgroundRole(QPalette::Base);
            row->addWidget(dot);
        }
        auto* field = new QLineEdit(this);
        field->setFrame(false);
        field->setAlignment(Qt::AlignCenter);
        field->setMaxLength(kFieldDigits);
        field->setValidator(new QRegularExpressionValidator(digits, field));
        field->installEventFilter(this);
        connect(field, &QLineEdit::textEdited, this, [this, i] { fieldEdited(i); });
        row->addWidget(field, 1);
        fields_[static_cast<std::size_t>(i)] = field;
    }
    setFocusProxy(fields_[0]);
}

void IpAddressEdit::setAddress(const IpAddressParts& parts) {
    for (std::size_t i = 0; i < fields_.size(); ++i)
        fields_[i]->setText(QString::number(parts[i] & 0xFF));
    emit addressChanged();
}

IpAddressParts IpAddressEdit::address() const {
    IpAddressParts parts{};
    for (std::size_t i = 0; i < fields_.size(); ++i)
        parts[i] = fields_[i]->text().toInt();
    return parts;
}

void IpAddressEdit::fieldEdited(int index) {
    QLineEdit* field = this->field(index);
    if (field->text().toInt() > kHighestField)
        field->setText(QString::number(kHighestField));
    if (field->text().size() == kFieldDigits && field->cursorPosition() == kFieldDigits &&
        index + 1 < static_cast<int>(fields_.size())) {
        moveTo(index + 1, false);
    }
    emit addressChanged();
}

void IpAddressEdit::moveTo(int index, bool atEnd) {
    QLineEdit* field = this->field(index);
    field->setFocus();
    if (atEnd)
        field->setCursorPosition(static_cast<int>(field->text().size()));
    else
        field->selectAll();
}

bool IpAddressEdit::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QFrame::eventFilter(watched, event);
    const auto found = std::find(fields_.begin(), fields_.end(), watched);
    if (found == fields_.end())
        return QFrame::eventFilter(watched, event);
    const int index = static_cast<int>(found - fields_.begin());
    const int last = static_cast<int>(fields_.size()) - 1;
    QLineEdit* field = *found;
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool atStart = field->cursorPosition() == 0 && !field->hasSelectedText();
    const bool atEnd = field->cursorPosition() == field->text().size();
    switch (key->key()) {
        case Qt::Key_Period:
        case Qt::Key_Space:
            if (!field->text().isEmpty() && index < last)
                moveTo(index + 1, false);
            return true;
        case Qt::Key_Backspace:
        case Qt::Key_Left:
            if (atStart && index > 0) {
                moveTo(index - 1, true);
                return true;
            }
            break;
        case Qt::Key_Right:
            if (atEnd && index < last) {
                field = this->field(index + 1);
                field->setFocus();
                field->setCursorPosition(0);
                return true;
            }
            break;
        default:
            break;
    }
    return QFrame::eventFilter(watched, event);
}

}  // namespace q93
