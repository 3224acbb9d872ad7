#include "screen/kit/template_builder.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimeEdit>

#include "base/string_table.h"
#include "screen/kit/ip_address_edit.h"
#include "screen/kit/mask_edit.h"

namespace q93 {
namespace {

// The dynamic property a built control keeps its template id in.
constexpr const char* kControlIdProperty = "q93ControlId";

QString fromUtf8(const char* text) {
    return text == nullptr ? QString() : QString::fromUtf8(text);
}

QLabel* makeLabel(const ControlTemplate& control, QWidget* parent, Qt::Alignment horizontal) {
    auto* label = new QLabel(templateText(control.german, control.english), parent);
    label->setAlignment(horizontal | Qt::AlignTop);
    return label;
}

QComboBox* makeDropDown(const ControlTemplate& control, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->addItems(templateItems(control));
    list->setCurrentIndex(-1);
    return list;
}

QTableWidget* makeListView(const ControlTemplate& control, QWidget* parent) {
    const QStringList heads = templateItems(control);
    auto* table = new QTableWidget(0, static_cast<int>(heads.size()), parent);
    table->setHorizontalHeaderLabels(heads);
    table->verticalHeader()->hide();
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return table;
}

QWidget* makeControl(const ControlTemplate& control, QWidget* parent) {
    const QString text = templateText(control.german, control.english);
    switch (control.kind) {
        case ControlKind::GroupBox:
            return new QGroupBox(text, parent);
        case ControlKind::Label:
            return makeLabel(control, parent, Qt::AlignLeft);
        case ControlKind::LabelRight:
            return makeLabel(control, parent, Qt::AlignRight);
        case ControlKind::LabelCenter:
            return makeLabel(control, parent, Qt::AlignHCenter);
        case ControlKind::Edit:
            return new QLineEdit(text, parent);
        case ControlKind::IpAddress:
            return new IpAddressEdit(parent);
        case ControlKind::MaskEdit: {
            auto* edit = new CMaskEdit(parent);
            edit->setText(text);
            return edit;
        }
        case ControlKind::DropDown:
            return makeDropDown(control, parent);
        case ControlKind::CheckBox:
            return new QCheckBox(text, parent);
        case ControlKind::CheckBoxLeftText: {
            auto* box = new QCheckBox(text, parent);
            box->setLayoutDirection(Qt::RightToLeft);
            return box;
        }
        case ControlKind::RadioButton:
            return new QRadioButton(text, parent);
        case ControlKind::PushButton:
            return new QPushButton(text, parent);
        case ControlKind::DefaultButton: {
            auto* button = new QPushButton(text, parent);
            button->setDefault(true);
            return button;
        }
        case ControlKind::ListView:
            return makeListView(control, parent);
        case ControlKind::ListBox: {
            auto* list = new QListWidget(parent);
            list->addItems(templateItems(control));
            return list;
        }
        case ControlKind::DatePicker:
            return new QDateEdit(parent);
        case ControlKind::TimePicker:
            return new QTimeEdit(parent);
    }
    return new QWidget(parent);
}

// Radio buttons are exclusive within their group only, so that several pairs can share a
// page; each group belongs to the dialog's widget.
class RadioGrouper {
public:
    explicit RadioGrouper(QWidget* owner) : owner_(owner) {}

    void add(const ControlTemplate& control, QWidget* widget) {
        auto* radio = qobject_cast<QRadioButton*>(widget);
        if (radio == nullptr) {
            group_ = nullptr;
            return;
        }
        if (group_ == nullptr || control.newGroup) {
            group_ = new QButtonGroup(owner_);
        }
        radio->setAutoExclusive(false);
        group_->addButton(radio);
    }

private:
    QWidget* owner_;
    QButtonGroup* group_ = nullptr;
};

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The average width over the alphabet, rounded, as the dialog manager measures it.
    const int alphabet = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseWidth_ = std::max(1, (alphabet / 26 + 1) / 2);
    baseHeight_ = std::max(1, metrics.height());
}

QRect DialogUnits::toPixels(int x, int y, int width, int height) const {
    return QRect(x * baseWidth_ / 4, y * baseHeight_ / 8, width * baseWidth_ / 4,
                 height * baseHeight_ / 8);
}

QSize DialogUnits::toPixels(int width, int height) const {
    return QSize(width * baseWidth_ / 4, height * baseHeight_ / 8);
}

QFont dialogFont(const DialogTemplate& dialog) {
    QFont font = QApplication::font();
    if (dialog.fontPoints > 0) {
        font.setPointSize(dialog.fontPoints);
    }
    return font;
}

QString templateText(const char* german, const char* english) {
    if (currentLanguage() == Language::English && english != nullptr) {
        return fromUtf8(english);
    }
    return fromUtf8(german);
}

QString dialogTitle(const DialogTemplate& dialog) {
    return templateText(dialog.germanTitle, dialog.englishTitle);
}

QStringList templateItems(const ControlTemplate& control) {
    const QString items = templateText(control.germanItems, control.englishItems);
    return items.isEmpty() ? QStringList() : items.split(QLatin1Char('\n'));
}

QSize dialogPixelSize(const DialogTemplate& dialog) {
    return DialogUnits(dialogFont(dialog)).toPixels(dialog.width, dialog.height);
}

void setControlId(QWidget* widget, int id) {
    widget->setProperty(kControlIdProperty, id);
}

QWidget* controlWithId(const QWidget* dialog, int id) {
    if (dialog == nullptr) {
        return nullptr;
    }
    for (QObject* child : dialog->children()) {
        const QVariant childId = child->property(kControlIdProperty);
        if (childId.isValid() && childId.toInt() == id && child->isWidgetType()) {
            return static_cast<QWidget*>(child);
        }
    }
    return nullptr;
}

void buildTemplate(const DialogTemplate& dialog, QWidget* parent) {
    const QFont font = dialogFont(dialog);
    const DialogUnits units(font);
    parent->setFont(font);
    parent->setMinimumSize(units.toPixels(dialog.width, dialog.height));
    RadioGrouper radios(parent);
    for (const ControlTemplate& control : dialog.controls) {
        QWidget* widget = makeControl(control, parent);
        widget->setGeometry(units.toPixels(control.x, control.y, control.width, control.height));
        // Explicitly, because a page may be built while its sheet is already on screen.
        widget->setVisible(!control.hidden);
        radios.add(control, widget);
        if (control.id != kStaticId) {
            setControlId(widget, control.id);
        }
    }
}

}  // namespace q93
