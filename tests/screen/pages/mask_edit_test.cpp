#include "screen/kit/mask_edit.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
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

// X11 and Wayland give the Delete key the text "\x7f", which is no character to filter.
TEST_F(MaskEdit, DeleteAndShiftDeleteEditAsUsual) {
    struct Case {
        Qt::KeyboardModifiers modifiers;
        bool selectAll;
        const char* left;
        const char* clipboard;
    };
    const Case cases[] = {
        {Qt::NoModifier, false, "23", "before"},  // the character after the cursor
        {Qt::NoModifier, true, "", "before"},     // the selection
        {Qt::ShiftModifier, true, "", "123"},     // cut
    };
    for (const Case& c : cases) {
        QApplication::clipboard()->setText("before");
        edit.setText("123");
        edit.setCursorPosition(0);
        if (c.selectAll) {
            edit.selectAll();
        }
        QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, c.modifiers, QStringLiteral("\x7f"));
        QApplication::sendEvent(&edit, &del);
        EXPECT_EQ(edit.text(), c.left) << c.modifiers.toInt() << c.selectAll;
        EXPECT_EQ(QApplication::clipboard()->text(), c.clipboard) << c.modifiers.toInt();
    }
}

TEST_F(MaskEdit, LimitsWhatIsTypedOrPastedButShowsWhatTheOwnerSets) {
    edit.SetValidChars("-0123456789.");
    edit.SetTextLimit(5);
    edit.setText("-100.55");
    EXPECT_EQ(edit.text(), "-100.55");
    type("1");
    EXPECT_EQ(edit.text(), "-100.55");
    press(Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), "-100.5");

    edit.clear();
    type("-12.345");
    EXPECT_EQ(edit.text(), "-12.3");

    edit.setText("12");
    edit.setCursorPosition(1);
    QApplication::clipboard()->setText("abcdef");
    press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "1abc2");
    EXPECT_EQ(edit.cursorPosition(), 4);

    // The Paste of the edit's menu is held to the same limit.
    edit.setText("9");
    QContextMenuEvent menuAsked(QContextMenuEvent::Mouse, QPoint(2, 2),
                                edit.mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(&edit, &menuAsked);
    auto* menu = edit.findChild<QMenu*>();
    ASSERT_NE(menu, nullptr);
    for (QAction* action : menu->actions()) {
        if (action->text().startsWith("&Paste")) {
            action->trigger();
        }
    }
    menu->close();
    EXPECT_EQ(edit.text(), "9abcd");
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
