// Linked into a widget test program: one QApplication for the whole program, created before
// the first test runs and destroyed after the last.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>

namespace q93::test {
namespace {

// A modal dialog that nobody answers would hold its test for ever: one that stays open this
// long fails the test and is closed.
constexpr int kModalWatchSeconds = 60;

class ModalWatch {
public:
    ModalWatch() {
        timer_.setInterval(1000);
        QObject::connect(&timer_, &QTimer::timeout, [this] { look(); });
        timer_.start();
    }

private:
    void look() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal != seen_) {
            seen_ = modal;
            seconds_ = 0;
            return;
        }
        if (++seconds_ < kModalWatchSeconds)
            return;
        ADD_FAILURE() << "a modal window stayed open unanswered: "
                      << modal->windowTitle().toStdString() << " "
                      << modal->metaObject()->className();
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }

    QTimer timer_;
    QPointer<QWidget> seen_;
    int seconds_ = 0;
};

class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "q93_gui_tests";
        static char* argv[] = {name, nullptr};
        if (QApplication::instance() == nullptr)
            app_ = new QApplication(argc, argv);
        watch_ = new ModalWatch;
    }
    void TearDown() override {
        delete watch_;
        watch_ = nullptr;
        delete app_;
        app_ = nullptr;
    }

private:
    QApplication* app_ = nullptr;
    ModalWatch* watch_ = nullptr;
};

const ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

}  // namespace
}  // namespace q93::test
