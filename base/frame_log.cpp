#include "base/frame_log.h"

#include "base/guarded_hook.h"

namespace q93 {
namespace {

// Links on the measurement thread call in while the GUI thread attaches or destroys the log.
GuardedHook<FrameLogger>& attached() {
    static GuardedHook<FrameLogger> hook;
    return hook;
}

}  // namespace

void installFrameLogger(FrameLogger* logger) {
    attached().install(logger);
}

void logFrame(const std::uint8_t* bytes, int length, int direction) {
    attached().call([&](FrameLogger& logger) { logger.logFrame(bytes, length, direction); });
}

}  // namespace q93
