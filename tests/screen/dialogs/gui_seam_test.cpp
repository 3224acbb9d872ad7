#include "screen/dialogs/gui_seam.h"

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <atomic>
#include <chrono>
#include <thread>

#include "base/user_seam.h"
#include "screen/dialogs/progress_popup_widget.h"
#include "tests/screen/dialogs/link_gui_support.h"

namespace q93 {
namespace {

// The measurement thread's warning: shown by the GUI thread, the worker held until OK.
TEST(GuiSeam, WarningFromAWorkerIsAModalBoxTheWorkerWaitsFor) {
    constexpr const char* kText = "Keine Antwort vom Gerät ( Timeout )!";
    GuiSeam seam;
    std::atomic<bool> returned{false};
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool returnedWhileOpen = true;
    test::whenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        returnedWhileOpen = returned.load();
        box->button(QMessageBox::Ok)->click();
    });
    std::thread worker([&] {
        showWarning(kText);
        returned.store(true);
    });
    const bool done = QTest::qWaitFor([&] { return returned.load(); }, 10000);
    worker.join();
    ASSERT_TRUE(done);
    EXPECT_FALSE(returnedWhileOpen);
    EXPECT_EQ(text, QString::fromUtf8(kText));
    EXPECT_EQ(title, "Q93Config");
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(buttons, QMessageBox::Ok);
}

TEST(GuiSeam, ProgressPopupPaintsAtOnceCentredOverTheOwnerWithoutTheEventLoop) {
    QWidget owner;
    owner.setGeometry(100, 120, 640, 400);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    GuiSeam seam(&owner);
    {
        ProgressPopup popup;
        ProgressPopupWidget* widget = seam.progressPopup();
        ASSERT_NE(widget, nullptr);
        EXPECT_FALSE(widget->isVisible());
        EXPECT_TRUE(widget->windowFlags().testFlag(Qt::FramelessWindowHint));

        popup.showText("Reading Preset...");
        EXPECT_TRUE(widget->isVisible());
        EXPECT_TRUE(widget->hasPainted());
        EXPECT_EQ(widget->text(), "Reading Preset...");
        const QPoint offset = widget->geometry().center() - owner.frameGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 2);
        popup.hide();
        EXPECT_FALSE(widget->isVisible());
    }
    EXPECT_EQ(seam.progressPopup(), nullptr);
}

// The window closes while a worker waits for its box: the seam goes without showing it,
// the worker returns, and neither waits for the other.
TEST(GuiSeam, GoesWhileAWorkerWaitsForItsBox) {
    for (int round = 0; round < 20; ++round) {
        auto* seam = new GuiSeam;
        std::atomic<bool> returned{false};
        std::thread worker([&] {
            showWarning("Keine Antwort vom Gerät ( Timeout )!");
            returned.store(true);
        });
        std::this_thread::sleep_for(std::chrono::microseconds(200 * round));
        delete seam;  // the GUI thread never ran its event loop: the box was never shown
        const bool done = QTest::qWaitFor([&] { return returned.load(); }, 5000);
        worker.join();
        ASSERT_TRUE(done) << "round " << round;
    }
}

}  // namespace
}  // namespace q93
