#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>

namespace q93::test {

// Another process that holds an encoder's lock: a child forked for it takes the lock of
// `encoderFolder`, holds it for `holdFor` and ends. The constructor returns once the lock is
// held (or the child failed: held() is false then); the destructor kills a child still
// running and reaps it.
class LockHolderProcess {
public:
    LockHolderProcess(const std::string& encoderFolder, std::chrono::milliseconds holdFor);
    ~LockHolderProcess();
    LockHolderProcess(const LockHolderProcess&) = delete;
    LockHolderProcess& operator=(const LockHolderProcess&) = delete;

    bool held() const { return held_; }
    pid_t pid() const { return pid_; }
    // Waits for the child to end, the lock with it.
    void waitForEnd();

private:
    pid_t pid_ = -1;
    bool held_ = false;
};

}  // namespace q93::test
