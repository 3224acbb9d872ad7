#include "cli/progress_line.h"

#include <unistd.h>

#include <cstdio>

namespace q93::ctl {

ProgressLine::ProgressLine() : terminal_(isatty(STDERR_FILENO) == 1) {}

void ProgressLine::show(const std::string& text) {
    if (!terminal_)
        return;
    std::fprintf(stderr, "\r%s\033[K", text.c_str());
    std::fflush(stderr);
    shown_ = true;
}

void ProgressLine::wipe() {
    if (!shown_)
        return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    shown_ = false;
}

}  // namespace q93::ctl
