#include "base/held_signals.h"

#include <pthread.h>

#include <initializer_list>

namespace q93 {

EndSignalsHeld::EndSignalsHeld() {
    sigset_t ending;
    sigemptyset(&ending);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&ending, signal);
    pthread_sigmask(SIG_BLOCK, &ending, &before_);
}

EndSignalsHeld::~EndSignalsHeld() {
    pthread_sigmask(SIG_SETMASK, &before_, nullptr);
}

void ignoreFileSizeSignal() {
    ::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace q93
