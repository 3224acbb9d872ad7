#pragma once

#include <string>

#include "base/user_seam.h"

namespace q93::ctl {

// How the transfers reach the user of q93ctl: every warning on stderr, and the progress
// text as one line on stderr that is wiped when the transfer ends, when stderr is a
// terminal. Installed for its lifetime.
class CtlSeam : public UserSeam {
public:
    CtlSeam();
    ~CtlSeam() override;

    void showWarning(const std::string& text) override;
    void progressShow(const std::string& text) override;
    void progressHide() override { wipeProgress(); }
    void progressDestroy() override { wipeProgress(); }

    int warningsShown() const { return warnings_; }

private:
    void wipeProgress();

    bool terminal_;
    bool progressShown_ = false;
    int warnings_ = 0;
};

}  // namespace q93::ctl
