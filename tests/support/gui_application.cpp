// Linked into a widget test program: one QApplication for the whole program, created before
// the first test runs and destroyed after the last.
#include <gtest/gtest.h>

#include <QApplication>

namespace q93::test {
namespace {

class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "q93_gui_tests";
        static char* argv[] = {name, nullptr};
        if (QApplication::instance() == nullptr)
            app_ = new QApplication(argc, argv);
    }
    void TearDown() override {
        delete app_;
        app_ = nullptr;
    }

private:
    QApplication* app_ = nullptr;
};

const ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

}  // namespace
}  // namespace q93::test
