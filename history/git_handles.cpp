#include "history/git_handles.h"

namespace q93::history {

std::string gitError(const std::string& what) {
    const git_error* error = git_error_last();
    return what + ": " +
           (error != nullptr && error->message != nullptr ? error->message : "unknown");
}

void startLibgit2() {
    static const int started = git_libgit2_init();
    (void)started;
}

}  // namespace q93::history
