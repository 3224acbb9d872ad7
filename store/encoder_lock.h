#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace q93 {

// How often a waiting acquire looks again (flock itself cannot wait with a bound). Whoever
// takes the lock for a row of short turns leaves it free for longer than this between two,
// so that a waiter is sure to get in.
inline constexpr std::chrono::milliseconds kEncoderLockRetry{10};

// How long a transfer of the desktop tool waits for the encoder while another program uses
// it: the watch gives the lock back after every exchange, and one exchange on the slowest
// serial line ends within this.
inline constexpr std::chrono::milliseconds kTransferLockWait{15'000};

// A process that holds an encoder's lock, as /proc shows it.
struct LockHolder {
    int pid = 0;
    std::string command;  // its command line, the arguments separated by blanks
};

// One user of an encoder at a time: whatever talks to an encoder or writes its folder holds
// this lock meanwhile (q93ctl's jobs, and the desktop tool's transfers). It is an flock(2)
// on the encoder folder itself: nothing is ever created beside the stored files, a folder
// that cannot be written can still be locked, and the lock goes with its process however
// that ends. Locks of two objects exclude each other, also within one process.
class EncoderLock {
public:
    EncoderLock() = default;
    ~EncoderLock();
    EncoderLock(const EncoderLock&) = delete;
    EncoderLock& operator=(const EncoderLock&) = delete;

    // Takes the lock of "./LocationData/SITE/ENC/", waiting up to `wait` while another holds
    // it. false with the reason in *error, naming the holder where /proc shows it; false with
    // "stopped" once `stopping` (when given) says so while it waits.
    bool acquire(const std::string& encoderFolder, std::chrono::milliseconds wait,
                 std::string* error, const std::function<bool()>& stopping = {});
    void release();
    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// Who holds the lock of an encoder folder; nullopt when no one does, or /proc does not tell.
std::optional<LockHolder> encoderLockHolder(const std::string& encoderFolder);

}  // namespace q93
