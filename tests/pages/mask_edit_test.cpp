#include "pages/mask_edit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>

namespace q93 {
namespace {

class MaskEdit : public ::testing::Test {
protected:
    void SetUp() override {
        edit.SetValidChars("0123456789");
        edit.show();
    }
    void type(const char* keys) { QTest::keyClicks(&edit, QString::fromLatin1(keys)); }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&edit, key, modifiers);
    }

    CMaskEdit edit;
};

TEST_F(MaskEdit, DropsCharactersOutsideTheSetAndLetsBackspaceThrough) {
    type("1a-2.b3");
    EXPECT_EQ(edit.text(), "123");
    press(Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), "12");
}

TEST_F(MaskEdit, FiltersNothingWithoutASet) {
    CMaskEdit plain;
    plain.SetValidChars("");
    EXPECT_FALSE(plain.filterOn());
    QTest::keyClicks(&plain, "a-1");
    EXPECT_EQ(plain.text(), "a-1");
}

TEST_F(MaskEdit, PastesUnfilteredButDropsCopy) {
    QApplication::clipboard()->setText("ab,5");
    press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "ab,5");

    QApplication::clipboard()->setText("unchanged");
    edit.selectAll();
    press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "unchanged");

    press(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "");
    EXPECT_EQ(QApplication::clipboard()->text(), "ab,5");
}

TEST_F(MaskEdit, ColoursTheIntegerRange) {
    edit.SetIntRange(0, 65535);
    type("6553");
    EXPECT_EQ(edit.backgroundColor(), QColor(255, 255, 255));
    type("6");
    EXPECT_FALSE(edit.isValid());
    EXPECT_EQ(edit.backgroundColor(), QColor(255, 0, 0));
    EXPECT_EQ(edit.palette().color(QPalette::Base), QColor(255, 0, 0));
    press(Qt::Key_Backspace);
    EXPECT_TRUE(edit.isValid());
    EXPECT_EQ(edit.palette().color(QPalette::Base), QColor(255, 255, 255));

    type("6");
    edit.setEnabled(false);
    EXPECT_EQ(edit.palette().color(QPalette::Disabled, QPalette::Base), QColor(212, 208, 200));
    edit.setEnabled(true);
    EXPECT_EQ(edit.palette().color(QPalette::Base), QColor(255, 0, 0));
}

TEST_F(MaskEdit, ChecksTheRangeOfATextTheOwnerSets) {
    edit.SetIntRange(0, 65535);
    edit.setText("70000");
    EXPECT_EQ(edit.backgroundColor(), QColor(255, 0, 0));
    edit.setText("80");
    EXPECT_EQ(edit.backgroundColor(), QColor(255, 255, 255));
}

TEST_F(MaskEdit, StaysWhiteWithoutARange) {
    edit.setText("99999999");
    EXPECT_EQ(edit.palette().color(QPalette::Base), QColor(255, 255, 255));
    edit.setEnabled(false);
    EXPECT_EQ(edit.palette().color(QPalette::Disabled, QPalette::Base), QColor(255, 255, 255));
}

}  // namespace
}  // namespace q93
