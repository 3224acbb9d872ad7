#include "cli/ctl_seam.h"

#include <unistd.h>

#include <cstdio>

namespace q93::ctl {

CtlSeam::CtlSeam() : terminal_(isatty(STDERR_FILENO) == 1) {
    installUserSeam(this);
}

CtlSeam::~CtlSeam() {
    wipeProgress();
    installUserSeam(nullptr);
}

void CtlSeam::showWarning(const std::string& text) {
    wipeProgress();
    std::fprintf(stderr, "q93ctl: %s\n", text.c_str());
    ++warnings_;
}

void CtlSeam::progressShow(const std::string& text) {
    if (!terminal_)
        return;
    std::fprintf(stderr, "\r%s\033[K", text.c_str());
    std::fflush(stderr);
    progressShown_ = true;
}

void CtlSeam::wipeProgress() {
    if (!progressShown_)
        return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    progressShown_ = false;
}

}  // namespace q93::ctl
