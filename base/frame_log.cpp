#include "base/frame_log.h"

#include <atomic>

namespace q93 {
namespace {

// Links on the measurement thread call in while the GUI thread may attach the log.
std::atomic<FrameLogger*> attached{nullptr};

}  // namespace

void installFrameLogger(FrameLogger* logger) {
    attached.store(logger);
}

void logFrame(const std::uint8_t* bytes, int length, int direction) {
    FrameLogger* logger = attached.load();
    if (logger != nullptr)
        logger->logFrame(bytes, length, direction);
}

}  // namespace q93
