#include "cli/ctl_seam.h"

#include <cstdio>

namespace q93::ctl {

CtlSeam::CtlSeam() {
    installUserSeam(this);
}

CtlSeam::~CtlSeam() {
    progress_.wipe();
    installUserSeam(nullptr);
}

void CtlSeam::showWarning(const std::string& text) {
    progress_.wipe();
    std::fprintf(stderr, "q93ctl: %s\n", text.c_str());
    ++warnings_;
}

}  // namespace q93::ctl
