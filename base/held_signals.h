#pragma once

#include <signal.h>

namespace q93 {

// While one lives, SIGINT, SIGTERM and SIGHUP wait in the calling thread: whatever the
// process does to its files meanwhile is finished, or undone, before such a signal ends it,
// so neither a half-replaced set of files nor a new file beside an old one stays on the disk.
// Hold it only around work that ends on its own within moments (writes to a local disk,
// renames), never around a wait for an encoder. The signals that came meanwhile are
// delivered when it ends.
class EndSignalsHeld {
public:
    EndSignalsHeld();
    ~EndSignalsHeld();
    EndSignalsHeld(const EndSignalsHeld&) = delete;
    EndSignalsHeld& operator=(const EndSignalsHeld&) = delete;

private:
    sigset_t before_;
};

// Under a file-size limit the kernel would end the process at the first write past it,
// without a word and with the edit lost; ignored, that write fails with EFBIG and is
// reported, and its temporary file removed, as any other failed write. Both tools call it
// first thing.
void ignoreFileSizeSignal();

}  // namespace q93
