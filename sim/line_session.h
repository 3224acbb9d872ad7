#pragma once

#include <cstdint>
#include <string>

#include "sim/encoder_service.h"
#include "sim/frame_reader.h"
#include "sim/paced_writer.h"

namespace q93::sim {

// One line to the encoder (a TCP connection, or the pty): bytes in, requests cut from
// them, replies written back. Shared by both transports so they behave alike.
class LineSession {
public:
    LineSession(EncoderService& service, PacedWriter& writer, bool acknowledge, std::string where)
        : service_(service), writer_(writer), acknowledge_(acknowledge), where_(std::move(where)) {}

    // Handles received bytes; false when the line is to be dropped (a close fault, or the
    // peer no longer takes bytes).
    bool onBytes(const std::uint8_t* bytes, std::size_t count);
    // The peer went away: a half-received frame is dropped with a note.
    void onPeerGone();

    // After a close fault on a line that cannot be closed (the pty): nothing more is sent.
    void setSilent() { silent_ = true; }
    bool silent() const { return silent_; }
    // Whether the last false of onBytes came from a close fault (not from a failed write).
    bool closeRequested() const { return closeRequested_; }
    const std::string& where() const { return where_; }

private:
    EncoderService& service_;
    PacedWriter& writer_;
    bool acknowledge_;
    std::string where_;
    FrameReader reader_;
    bool silent_ = false;
    bool closeRequested_ = false;
};

}  // namespace q93::sim
