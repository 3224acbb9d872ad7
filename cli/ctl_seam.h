#pragma once

#include <string>

#include "base/user_seam.h"
#include "cli/progress_line.h"

namespace q93::ctl {

// How the transfers reach the user of q93ctl: every warning on stderr, and the progress
// text as one line on stderr that is wiped when the transfer ends, when stderr is a
// terminal. Installed for its lifetime.
class CtlSeam : public UserSeam {
public:
    CtlSeam();
    ~CtlSeam() override;

    void showWarning(const std::string& text) override;
    void progressShow(const std::string& text) override { progress_.show(text); }
    void progressHide() override { progress_.wipe(); }
    void progressDestroy() override { progress_.wipe(); }

    int warningsShown() const { return warnings_; }

private:
    ProgressLine progress_;
    int warnings_ = 0;
};

}  // namespace q93::ctl
