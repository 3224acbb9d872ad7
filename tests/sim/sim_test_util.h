#pragma once

#include <string>
#include <vector>

#include "protocol/frame_codec.h"
#include "sim/encoder_service.h"
#include "tests/sim/sim_wire.h"

namespace q93::test {

// Runs one command text through an in-process encoder, as the transports do: the frame
// the tool would build in, the frames the encoder would send out (un-stuffed).
inline std::vector<Bytes> roundTrip(sim::EncoderService& service, const std::string& commandText,
                                   bool acknowledge = true) {
    FrameCodec codec;
    codec.buildFrame(commandText);
    const sim::Outgoing out = service.onFrame(
        std::span<const std::uint8_t>(codec.wireFrame(), static_cast<std::size_t>(codec.wireLength())),
        acknowledge, "test");
    std::vector<Bytes> frames;
    for (const auto& chunk : out.chunks) frames.push_back(unstuffed(chunk));
    return frames;
}

// The data answer of a command (the frame after the acknowledgement), un-stuffed.
inline Bytes answerTo(sim::EncoderService& service, const std::string& commandText) {
    const std::vector<Bytes> frames = roundTrip(service, commandText, true);
    return frames.size() == 2 ? frames[1] : Bytes{};
}

}  // namespace q93::test
