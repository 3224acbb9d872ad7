#include "tests/support/lock_holder_process.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "store/encoder_lock.h"

namespace q93::test {

LockHolderProcess::LockHolderProcess(const std::string& encoderFolder,
                                     std::chrono::milliseconds holdFor) {
    int ready[2];
    if (::pipe(ready) != 0)
        return;
    pid_ = ::fork();
    if (pid_ == 0) {
        ::close(ready[0]);
        EncoderLock lock;
        std::string error;
        const char taken = lock.acquire(encoderFolder, std::chrono::milliseconds(0), &error);
        [[maybe_unused]] const ssize_t put = ::write(ready[1], &taken, 1);
        std::this_thread::sleep_for(holdFor);
        ::_exit(0);
    }
    ::close(ready[1]);
    char taken = 0;
    ssize_t got;
    while ((got = ::read(ready[0], &taken, 1)) < 0 && errno == EINTR) {
    }
    held_ = pid_ > 0 && got == 1 && taken != 0;
    ::close(ready[0]);
}

LockHolderProcess::~LockHolderProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        waitForEnd();
    }
}

void LockHolderProcess::waitForEnd() {
    while (pid_ > 0 && ::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
}

}  // namespace q93::test
