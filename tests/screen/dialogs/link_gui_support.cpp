#include "tests/screen/dialogs/link_gui_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

namespace q93::test {
namespace {

constexpr int kModalPollMs = 10;

}  // namespace

void typeIntoFocus(const QString& keys) {
    for (const QChar key : keys) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr) << "no widget has the focus";
        if (key == QLatin1Char('\b'))
            QTest::keyClick(focus, Qt::Key_Backspace);
        else
            QTest::keyClick(focus, key.toLatin1());
    }
}

void whenModal(std::function<void(QWidget*)> action) {
    // A child of the application, so that it goes at the latest with it.
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(kModalPollMs);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr)
            return;
        timer->stop();
        timer->deleteLater();
        action(modal);
    });
    timer->start();
}

}  // namespace q93::test
