#include "sim/line_session.h"

#include "sim/sim_log.h"

namespace q93::sim {

bool LineSession::onBytes(const std::uint8_t* bytes, std::size_t count) {
    bool keep = true;
    reader_.feed(bytes, count, [&](std::span<const std::uint8_t> frame) {
        const std::string dropped = reader_.takeDropNote();
        if (!dropped.empty()) logLine(where_ + ": dropped " + dropped);
        if (!keep) return;
        Outgoing out = service_.onFrame(frame, acknowledge_, where_);
        if (out.closeLine) {
            closeRequested_ = true;
            keep = false;
            return;
        }
        if (silent_) return;
        if (!writer_.writeChunks(out.chunks)) {
            logLine(where_ + ": could not send the reply to request #" + std::to_string(out.requestNumber));
            keep = false;
        }
    });
    return keep;
}

void LineSession::onPeerGone() {
    const std::size_t held = reader_.reset();
    if (held > 0) logLine(where_ + ": dropped a half frame of " + std::to_string(held) + " byte(s)");
    const std::string dropped = reader_.takeDropNote();
    if (!dropped.empty()) logLine(where_ + ": dropped " + dropped);
}

}  // namespace q93::sim
