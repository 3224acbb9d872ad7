#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "protocol/parameter_files.h"
#include "screen/kit/mask_edit.h"
#include "screen/pages/correct_prop.h"
#include "screen/pages/correction_edit_dialog.h"
#include "tests/screen/pages/device_page_support_test.h"

namespace q93 {
namespace {

// What the user saw of the edit dialog and what he did in it.
struct DialogVisit {
    QString title;
    QString value;
    std::string validChars;
    QStringList texts;
};

class CorrectionPage : public test::DevicePageTest {
protected:
    CorrectionPage() : page(&owner, params) { page.ensureBuilt(); }

    QTableWidget* list() const { return page.controlAs<QTableWidget>(1023); }
    QString cell(int row, int column) const { return list()->item(row, column)->text(); }

    // Double-clicks the list; `answer` types into the dialog that opens, and `accept`
    // chooses OK or Cancel. Returns what the dialog showed, or nothing when none opened.
    std::optional<DialogVisit> doubleClick(const QString& answer, bool accept) {
        std::optional<DialogVisit> visit;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<CorrectionEditDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return;
            visit = DialogVisit{dialog->windowTitle(),
                                dialog->valueEdit()->text(),
                                dialog->valueEdit()->validChars(),
                                {}};
            for (const QLabel* label : dialog->findChildren<QLabel*>()) {
                visit->texts << label->text();
            }
            for (const QPushButton* button : dialog->findChildren<QPushButton*>()) {
                visit->texts << button->text();
            }
            dialog->valueEdit()->clear();
            QTest::keyClicks(dialog->valueEdit(), answer);
            const QString buttonText = accept ? "OK" : (german() ? "Abbrechen" : "Cancel");
            for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
                if (button->text() == buttonText)
                    button->click();
            }
        });
        const QPoint at(5, 5);
        QMouseEvent press(QEvent::MouseButtonDblClick, at, list()->viewport()->mapToGlobal(at),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list()->viewport(), &press);
        QApplication::processEvents();  // the answer's timer when no dialog waited for it
        return visit;
    }

    CorrectProp page;
};

TEST_P(CorrectionPage, IsGermanInBothLanguages) {
    EXPECT_EQ(page.caption(), "Korrekturwerte");
    ASSERT_EQ(list()->columnCount(), 2);
    EXPECT_EQ(list()->horizontalHeaderItem(0)->text(), "#");
    EXPECT_EQ(list()->horizontalHeaderItem(1)->text(), "Korrektur Wert");
    EXPECT_EQ(list()->columnWidth(0), 20);
    EXPECT_EQ(list()->columnWidth(1), 250);
}

TEST_P(CorrectionPage, ListsTheTwentyValuesWithNineDecimals) {
    DeviceParameters& device = params.device;
    device.correctionValues[0] = 0.5;
    device.correctionValues[1] = -1.25;
    device.correctionValues[19] = 123.0000000004;
    page.LoadFromParams();
    page.LoadFromParams();  // a reload replaces the rows
    ASSERT_EQ(list()->rowCount(), 20);
    EXPECT_EQ(cell(0, 0), "1");
    EXPECT_EQ(cell(19, 0), "20");
    EXPECT_EQ(cell(0, 1), "0.500000000");
    EXPECT_EQ(cell(1, 1), "-1.250000000");
    EXPECT_EQ(cell(2, 1), "0.000000000");
    EXPECT_EQ(cell(19, 1), "123.000000000");
    EXPECT_TRUE(list()->item(0, 0)->textAlignment() & Qt::AlignRight);
}

TEST_P(CorrectionPage, ScrollingTheListGivesItTheFocus) {
    page.resize(page.minimumSize());
    page.show();
    QApplication::setActiveWindow(&page);
    page.LoadFromParams();
    QApplication::processEvents();  // lays the rows out, which gives the scroll bar its range
    page.setFocus();
    ASSERT_NE(QApplication::focusWidget(), list());
    ASSERT_GT(list()->verticalScrollBar()->maximum(), 0);
    list()->verticalScrollBar()->setValue(list()->verticalScrollBar()->maximum());
    EXPECT_EQ(QApplication::focusWidget(), list());
}

TEST_P(CorrectionPage, StoreTakesTheListTextAndKeepsNegativeValues) {
    params.device.correctionValues[1] = -1.25;
    page.LoadFromParams();
    list()->item(4, 1)->setText("garbage");
    list()->item(5, 1)->setText("2.5abc");
    ASSERT_TRUE(page.StoreToParams());
    EXPECT_EQ(params.device.correctionValues[1], -1.25);
    EXPECT_EQ(params.device.correctionValues[4], 0.0);
    EXPECT_EQ(params.device.correctionValues[5], 2.5);
}

// A row that still shows its loaded text stores the exact value it was loaded from, however
// many decimals it has and whatever device.dat holds, infinity and NaN included.
TEST_P(CorrectionPage, StoresEveryUntouchedRowExactly) {
    const double loaded[] = {0.1234567891234, HUGE_VAL, -HUGE_VAL, std::nan(""), 1e300, -2.5e-10};
    DeviceParameters& device = params.device;
    std::copy(std::begin(loaded), std::end(loaded), device.correctionValues);
    const DeviceBytes before = encodeDevice(device);
    page.LoadFromParams();
    EXPECT_EQ(cell(0, 1), "0.123456789");
    EXPECT_EQ(cell(1, 1), "inf");
    EXPECT_EQ(cell(3, 1), "nan");
    ASSERT_TRUE(page.StoreToParams());
    EXPECT_EQ(encodeDevice(device), before);
}

// Edited text is read as the C library's conversion reads it.
TEST_P(CorrectionPage, ReadsAnEditedValueAsTheStandardConversion) {
    page.LoadFromParams();
    const std::pair<const char*, double> edits[] = {
        {"inf", HUGE_VAL}, {"\n\t7.25", 7.25}, {"1e999", HUGE_VAL}, {"-0.5x", -0.5}};
    for (std::size_t row = 0; row < std::size(edits); ++row) {
        list()->item(static_cast<int>(row), 1)->setText(edits[row].first);
    }
    list()->item(9, 1)->setText("nan");
    ASSERT_TRUE(page.StoreToParams());
    for (std::size_t row = 0; row < std::size(edits); ++row) {
        EXPECT_EQ(params.device.correctionValues[row], edits[row].second) << row;
    }
    EXPECT_TRUE(std::isnan(params.device.correctionValues[9]));
}

TEST_P(CorrectionPage, DoubleClickEditsTheSelectedRowWithCommaAsPoint) {
    params.device.correctionValues[3] = 0.5;
    page.LoadFromParams();
    list()->selectRow(3);
    const std::optional<DialogVisit> visit = doubleClick("0,25", true);
    ASSERT_TRUE(visit.has_value());
    EXPECT_EQ(visit->title, "Korrekturwert");
    EXPECT_EQ(visit->value, "0.500000000");
    EXPECT_EQ(visit->validChars, "0123456789.,");
    EXPECT_TRUE(visit->texts.contains(german() ? "Wert:" : "Value:"));
    EXPECT_TRUE(visit->texts.contains(german() ? "Abbrechen" : "Cancel"));
    // Shown as typed until the next load, stored as a number.
    EXPECT_EQ(cell(3, 1), "0.25");
    ASSERT_TRUE(page.StoreToParams());
    EXPECT_EQ(params.device.correctionValues[3], 0.25);
    page.LoadFromParams();
    EXPECT_EQ(cell(3, 1), "0.250000000");
}

TEST_P(CorrectionPage, NoMinusSignCanBeTypedInTheEditDialog) {
    params.device.correctionValues[0] = -2;
    page.LoadFromParams();
    list()->selectRow(0);
    ASSERT_TRUE(doubleClick("-3,5", true).has_value());
    EXPECT_EQ(cell(0, 1), "3.5");
}

TEST_P(CorrectionPage, CancelLeavesTheRowAndNoSelectionOpensNothing) {
    params.device.correctionValues[7] = 7.5;
    page.LoadFromParams();
    list()->selectRow(7);
    ASSERT_TRUE(doubleClick("1", false).has_value());
    EXPECT_EQ(cell(7, 1), "7.500000000");

    list()->clearSelection();
    EXPECT_FALSE(doubleClick("1", true).has_value());
    ASSERT_TRUE(page.StoreToParams());
    EXPECT_EQ(params.device.correctionValues[7], 7.5);
}

}  // namespace

Q93_PAGES_BOTH_LANGUAGES(CorrectionPage);

}  // namespace q93
