#pragma once

#include <string>

namespace q93 {

// How core code reaches the user. Start-up installs one implementation: message boxes and
// a popup in the GUI, stderr in q93ctl, a recorder in tests. Nothing in core knows which.
class UserSeam {
public:
    virtual ~UserSeam() = default;
    // A modal warning with an exclamation icon and OK; returns when the user has seen it.
    virtual void showWarning(const std::string& text) = 0;
    // The progress popup of a transfer: created hidden, shown with a text, hidden, destroyed.
    virtual void progressCreate() {}
    virtual void progressShow(const std::string& /*text*/) {}
    virtual void progressHide() {}
    virtual void progressDestroy() {}
};

// Installs the seam for the process; nullptr restores the default, which writes warnings
// to stderr and shows no progress. Returns once no other thread is still inside a call to
// the previous seam, which may then be destroyed.
void installUserSeam(UserSeam* seam);

// Installs a seam for the calling thread alone, which takes that thread's calls in place of
// the process's seam: a job on a thread of its own keeps the warnings of its transfers
// apart from another job's. nullptr removes it; the thread removes it before it goes.
void installThreadUserSeam(UserSeam* seam);

void showWarning(const std::string& text);

// The popup of one procedure: created hidden with the object, destroyed with it whatever
// the outcome. Keeps a copy of the last text shown.
class ProgressPopup {
public:
    ProgressPopup();
    ~ProgressPopup();
    ProgressPopup(const ProgressPopup&) = delete;
    ProgressPopup& operator=(const ProgressPopup&) = delete;

    void showText(const std::string& text);
    void hide();
    const std::string& lastText() const { return lastText_; }

private:
    std::string lastText_;
};

}  // namespace q93
