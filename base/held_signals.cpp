#include "base/held_signals.h"

#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <condition_variable>
#include <initializer_list>
#include <mutex>

namespace q93 {
namespace {

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The holders of the whole process, so that a thread that took an ending signal for all can
// let the files of every other thread be finished first.
struct HeldSections {
    std::mutex mutex;
    std::condition_variable changed;
    int holders = 0;      // guarded by mutex
    bool ending = false;  // guarded by mutex
};

HeldSections& held() {
    static HeldSections sections;
    return sections;
}

// Sections this thread is inside: a nested one never waits for the end it holds back.
thread_local int heldHere = 0;

}  // namespace

EndSignalsHeld::EndSignalsHeld() {
    sigset_t ending;
    sigemptyset(&ending);
    for (const int signal : kEndingSignals)
        sigaddset(&ending, signal);
    pthread_sigmask(SIG_BLOCK, &ending, &before_);
    HeldSections& sections = held();
    std::unique_lock lock(sections.mutex);
    // Once the process is ending, no new work on files begins: the thread waits for the end.
    if (heldHere == 0)
        sections.changed.wait(lock, [&sections] { return !sections.ending; });
    ++sections.holders;
    ++heldHere;
}

EndSignalsHeld::~EndSignalsHeld() {
    HeldSections& sections = held();
    {
        std::lock_guard lock(sections.mutex);
        --sections.holders;
        --heldHere;
    }
    sections.changed.notify_all();
    pthread_sigmask(SIG_SETMASK, &before_, nullptr);
}

void ignoreFileSizeSignal() {
    ::signal(SIGXFSZ, SIG_IGN);
}

void EndSignalsTaken::blockEnding(sigset_t* before) {
    sigset_t ending;
    sigemptyset(&ending);
    for (const int signal : kEndingSignals)
        sigaddset(&ending, signal);
    pthread_sigmask(SIG_BLOCK, &ending, before);
}

EndSignalsTaken::EndSignalsTaken() {
    sigset_t taken;
    sigemptyset(&taken);
    bool any = false;
    for (const int signal : kEndingSignals) {
        struct sigaction current {};
        if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_DFL &&
            (current.sa_flags & SA_SIGINFO) == 0) {
            sigaddset(&taken, signal);
            any = true;
        }
    }
    pthread_sigmask(SIG_BLOCK, &taken, &before_);
    if (any)
        fd_ = signalfd(-1, &taken, SFD_CLOEXEC | SFD_NONBLOCK);
}

EndSignalsTaken::~EndSignalsTaken() {
    if (fd_ >= 0)
        close(fd_);
    // A signal that came meanwhile but was not read is delivered now, as it would have been.
    pthread_sigmask(SIG_SETMASK, &before_, nullptr);
}

void EndSignalsTaken::endProcess() {
    signalfd_siginfo info{};
    int signal = SIGTERM;
    if (read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info))
        signal = static_cast<int>(info.ssi_signo);
    HeldSections& sections = held();
    {
        std::unique_lock lock(sections.mutex);
        sections.ending = true;
        sections.changed.wait(lock, [&sections] { return sections.holders == heldHere; });
    }
    ::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    raise(signal);
    // Not reached: the signal's default action ends the process.
    _exit(128 + signal);
}

}  // namespace q93
