#include "base/user_seam.h"

#include <atomic>
#include <cstdio>

namespace q93 {
namespace {

class StderrSeam final : public UserSeam {
public:
    void showWarning(const std::string& text) override {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
};

StderrSeam& defaultSeam() {
    static StderrSeam seam;
    return seam;
}

// Read by the measurement thread when a level query fails, written once at start-up.
std::atomic<UserSeam*> installed{nullptr};

}  // namespace

void installUserSeam(UserSeam* seam) {
    installed.store(seam);
}

UserSeam& userSeam() {
    UserSeam* seam = installed.load();
    return seam != nullptr ? *seam : defaultSeam();
}

void showWarning(const std::string& text) {
    userSeam().showWarning(text);
}

ProgressPopup::ProgressPopup() {
    userSeam().progressCreate();
}

ProgressPopup::~ProgressPopup() {
    userSeam().progressDestroy();
}

void ProgressPopup::showText(const std::string& text) {
    lastText_ = text;
    userSeam().progressShow(text);
}

void ProgressPopup::hide() {
    userSeam().progressHide();
}

}  // namespace q93
