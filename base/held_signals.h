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

// While one lives, the calling thread takes the ending signals (SIGINT, SIGTERM, SIGHUP)
// of the whole process in place of the threads it starts through startThread, which never
// take one: the jobs on those threads end with the process as they would in processes of
// their own, yet a job inside an EndSignalsHeld finishes that first. A signal that has a
// handler (or is ignored) is left to that as it was; only those that would end the process
// are taken. One at a time, on the thread that waits for the jobs.
class EndSignalsTaken {
public:
    EndSignalsTaken();
    ~EndSignalsTaken();
    EndSignalsTaken(const EndSignalsTaken&) = delete;
    EndSignalsTaken& operator=(const EndSignalsTaken&) = delete;

    // Readable once a taken signal came; -1 when none is taken.
    int fd() const { return fd_; }
    // Runs `start` (which starts a thread) with every ending signal blocked, so that the new
    // thread never takes one.
    template <typename Start>
    static void startThread(Start&& start) {
        sigset_t before;
        blockEnding(&before);
        try {
            start();
        } catch (...) {
            pthread_sigmask(SIG_SETMASK, &before, nullptr);
            throw;
        }
        pthread_sigmask(SIG_SETMASK, &before, nullptr);
    }
    // Once fd() is readable: waits until no EndSignalsHeld lives in the process (none is made
    // any more), then ends the process by the signal that came, as that signal would have.
    [[noreturn]] void endProcess();

private:
    static void blockEnding(sigset_t* before);

    sigset_t before_;
    int fd_ = -1;
};

}  // namespace q93
