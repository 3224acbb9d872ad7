#include "screen/pages/correct_prop.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>

#include "protocol/number_format.h"
#include "protocol/parameter_set.h"
#include "resources/templates/correction_page_template.h"
#include "screen/pages/correction_edit_dialog.h"

namespace q93 {
namespace {

constexpr int kNumberColumn = 0;
constexpr int kValueColumn = 1;
constexpr int kNumberColumnWidth = 20;
constexpr int kValueColumnWidth = 250;
constexpr int kCorrectionDecimals = 9;
constexpr qsizetype kMaxStoredText = 255;
constexpr qsizetype kMaxEditedText = 254;

QString valueText(double value) {
    return QString::fromStdString(FormatFixed(value, kCorrectionDecimals));
}

QTableWidgetItem* makeItem(const QString& text, Qt::Alignment alignment) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    return item;
}

}  // namespace

CorrectProp::CorrectProp(PageOwner* /*owner*/, ParameterSet& params, QWidget* parent)
    : PropertyPage(correctionPageTemplate(), parent), params_(params) {}

void CorrectProp::InitDialog() {
    auto* list = controlAs<QTableWidget>(kCorrectionList);
    if (list == nullptr)
        return;
    list->setShowGrid(true);
    if (QTableWidgetItem* head = list->horizontalHeaderItem(kNumberColumn)) {
        head->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (QTableWidgetItem* head = list->horizontalHeaderItem(kValueColumn)) {
        head->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    // The row number column is narrower than the style's default minimum.
    list->horizontalHeader()->setMinimumSectionSize(kNumberColumnWidth);
    list->setColumnWidth(kNumberColumn, kNumberColumnWidth);
    list->setColumnWidth(kValueColumn, kValueColumnWidth);
    // Scrolling takes the keyboard focus, so that the arrow keys go on where the wheel or
    // the scroll bar left off.
    connect(list->verticalScrollBar(), &QScrollBar::valueChanged, list,
            [list] { list->setFocus(); });
    // The double click is caught on the viewport so that it edits the selected row wherever
    // in the list it lands, and does nothing while no row is selected.
    list->viewport()->installEventFilter(this);
}

bool CorrectProp::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        editSelectedRow();
        return true;
    }
    return PropertyPage::eventFilter(watched, event);
}

void CorrectProp::LoadFromParams() {
    auto* list = controlAs<QTableWidget>(kCorrectionList);
    if (list == nullptr)
        return;
    list->setRowCount(0);
    list->setRowCount(kValueCount);
    const DeviceParameters& device = params_.device;
    for (int row = 0; row < kValueCount; ++row) {
        list->setItem(row, kNumberColumn, makeItem(QString::number(row + 1), Qt::AlignRight));
        loaded_[row] = device.correctionValues[row];
        list->setItem(row, kValueColumn, makeItem(valueText(loaded_[row]), Qt::AlignLeft));
    }
}

bool CorrectProp::StoreToParams() {
    auto* list = controlAs<QTableWidget>(kCorrectionList);
    if (list == nullptr || list->rowCount() < kValueCount)
        return true;
    DeviceParameters& device = params_.device;
    for (int row = 0; row < kValueCount; ++row) {
        const QTableWidgetItem* item = list->item(row, kValueColumn);
        const QString text = item == nullptr ? QString() : item->text();
        device.correctionValues[row] =
            text == valueText(loaded_[row])
                ? loaded_[row]
                : StandardDecimal(text.left(kMaxStoredText).toStdString());
    }
    return true;
}

void CorrectProp::editSelectedRow() {
    auto* list = controlAs<QTableWidget>(kCorrectionList);
    if (list == nullptr)
        return;
    const QList<QTableWidgetSelectionRange> ranges = list->selectedRanges();
    if (ranges.isEmpty())
        return;
    const int row = ranges.first().topRow();
    QTableWidgetItem* item = list->item(row, kValueColumn);
    if (item == nullptr)
        return;
    CorrectionEditDialog dialog(item->text().left(kMaxEditedText), this);
    if (dialog.exec() == QDialog::Accepted)
        item->setText(dialog.value());
}

}  // namespace q93
