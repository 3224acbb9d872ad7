#include "base/frame_log.h"

#include "base/guarded_hook.h"

namespace q93 {
namespace {

// Links on the measurement thread call in while the GUI thread attaches or destroys the log.
GuardedHook<FrameLogger>& attached() {
    static GuardedHook<FrameLogger> hook;
    return hook;
}

// Only its own thread reads or writes it.
thread_local FrameLogger* threadLogger = nullptr;

}  // namespace

void installFrameLogger(FrameLogger* logger) {
    attached().install(logger);
}

void installThreadFrameLogger(FrameLogger* logger) {
    threadLogger = logger;
}

void logFrame(const std::uint8_t* bytes, int length, int direction) {
    if (threadLogger != nullptr) {
        threadLogger->logFrame(bytes, length, direction);
        return;
    }
    logProcessFrame(bytes, length, direction);
}

void logProcessFrame(const std::uint8_t* bytes, int length, int direction) {
    attached().call([&](FrameLogger& logger) { logger.logFrame(bytes, length, direction); });
}

}  // namespace q93
