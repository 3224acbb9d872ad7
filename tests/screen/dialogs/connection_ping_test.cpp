#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include "base/string_table.h"
#include "screen/dialogs/connection_dialog.h"
#include "tests/link/echo_sockets.h"

namespace q93 {
namespace {

TEST(ConnectionPing, ShowsTheAnswerAndEnablesTheButtonAgainAndMayBeClosedMeanwhile) {
    setLanguage(Language::English);
    const ConnectionSettings stored{"127.0.0.1", "5000", "TCP/IP", 3, 1};
    ConnectionDialog dialog(stored);
    dialog.pingButton()->click();
    EXPECT_FALSE(dialog.pingButton()->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.pingButton()->isEnabled(); }, 10000));
    const QString result = dialog.pingResultLabel()->text();
    if (test::echoSocketsPermitted())
        EXPECT_TRUE(QRegularExpression("^Answer in \\d+ms$").match(result).hasMatch())
            << result.toStdString();
    else
        EXPECT_EQ(result, "No Answer.");

    // Closed while the ping is out, destroyed before or after its result could arrive.
    for (const bool eventsBetween : {false, true}) {
        auto* closed = new ConnectionDialog(stored);
        closed->pingButton()->click();
        closed->reject();
        if (eventsBetween)
            QCoreApplication::processEvents();
        delete closed;
        QCoreApplication::processEvents();
    }
    setLanguage(Language::German);
}

}  // namespace
}  // namespace q93
