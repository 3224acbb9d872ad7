#include "base/user_seam.h"

#include <cstdio>

#include "base/guarded_hook.h"

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

// Called by the measurement thread when a level query fails, while the GUI thread may be
// tearing the window's seam down.
GuardedHook<UserSeam>& installed() {
    static GuardedHook<UserSeam> hook;
    return hook;
}

// Only its own thread reads or writes it.
thread_local UserSeam* threadSeam = nullptr;

template <typename Call>
void throughSeam(Call&& call) {
    if (threadSeam != nullptr) {
        call(*threadSeam);
        return;
    }
    if (!installed().call(call))
        call(defaultSeam());
}

}  // namespace

void installUserSeam(UserSeam* seam) {
    installed().install(seam);
}

void installThreadUserSeam(UserSeam* seam) {
    threadSeam = seam;
}

void showWarning(const std::string& text) {
    throughSeam([&](UserSeam& seam) { seam.showWarning(text); });
}

ProgressPopup::ProgressPopup() {
    throughSeam([](UserSeam& seam) { seam.progressCreate(); });
}

ProgressPopup::~ProgressPopup() {
    throughSeam([](UserSeam& seam) { seam.progressDestroy(); });
}

void ProgressPopup::showText(const std::string& text) {
    lastText_ = text;
    throughSeam([&](UserSeam& seam) { seam.progressShow(text); });
}

void ProgressPopup::hide() {
    throughSeam([](UserSeam& seam) { seam.progressHide(); });
}

}  // namespace q93
