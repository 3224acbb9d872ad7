#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "resources/dialog_template.h"

namespace q93 {

// Dialog units of a font: a quarter of its average character width horizontally and an
// eighth of its height vertically.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    int baseWidth() const { return baseWidth_; }
    int baseHeight() const { return baseHeight_; }
    QRect toPixels(int x, int y, int width, int height) const;
    QSize toPixels(int width, int height) const;

private:
    int baseWidth_;
    int baseHeight_;
};

// The font a template's dialog is laid out in: the application's family at the
// template's size.
QFont dialogFont(const DialogTemplate& dialog);

// A text of a template in the current language; a null English text means the German one.
QString templateText(const char* german, const char* english);
QString dialogTitle(const DialogTemplate& dialog);
// The entries of a drop-down list, list box, or the column heads of a list view.
QStringList templateItems(const ControlTemplate& control);

// Builds every control of the template as a child of `parent` in the current language and
// gives `parent` the dialog's font and minimum size. Each control but the static ones
// (kStaticId) carries its id, by which control() finds it. Kinds map to: GroupBox QGroupBox,
// labels QLabel, Edit QLineEdit, MaskEdit CMaskEdit, DropDown QComboBox with no entry
// selected, check boxes QCheckBox, RadioButton QRadioButton (exclusive per group),
// buttons QPushButton, ListView QTableWidget (columns from the items), ListBox
// QListWidget, DatePicker QDateEdit, TimePicker QTimeEdit, IpAddress IpAddressEdit (four 0-255
// fields).
void buildTemplate(const DialogTemplate& dialog, QWidget* parent);

// The control with template id `id` that buildTemplate made in `dialog`, or the widget that
// took its place (setControlId), as a T; nullptr when there is none or it is another kind.
// Only `dialog`'s own children count, so a window's id never finds a control of a page
// built inside it.
QWidget* controlWithId(const QWidget* dialog, int id);
template <typename T = QWidget>
T* control(const QWidget* dialog, int id) {
    return qobject_cast<T*>(controlWithId(dialog, id));
}

// Gives `widget`, a child of the dialog, the template id of the control whose place it takes.
void setControlId(QWidget* widget, int id);

QSize dialogPixelSize(const DialogTemplate& dialog);

}  // namespace q93
