#pragma once

#include <string>

namespace q93::ctl {

// One line of progress on stderr, redrawn in place and wiped before anything else is
// printed; nothing at all when stderr is not a terminal, so that scripts and logs see only
// results and messages.
class ProgressLine {
public:
    ProgressLine();
    ~ProgressLine() { wipe(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void show(const std::string& text);
    void wipe();

private:
    bool terminal_;
    bool shown_ = false;
};

}  // namespace q93::ctl
