#pragma once

#include <cstdint>
#include <vector>

namespace q93::sim {

// The stuffed wire bytes of an answer frame (composeFrame + stuffFrame of the codec).
std::vector<std::uint8_t> answerFrame(const std::vector<std::uint8_t>& payload, std::uint8_t sequence);

// The same frame padded with zero payload bytes after `payload` so that it takes exactly
// `wireBytes` bytes on the wire (or as close as stuffing allows, never fewer). Its length
// byte holds the payload length modulo 256, as a real over-long frame would.
std::vector<std::uint8_t> oversizeFrame(const std::vector<std::uint8_t>& payload,
                                        std::uint8_t sequence, std::size_t wireBytes);

// Flips the checksum's low byte of a stuffed frame (re-stuffing as needed).
std::vector<std::uint8_t> withBadChecksum(const std::vector<std::uint8_t>& wire);

// Deterministic garbage of `count` bytes without a start byte.
std::vector<std::uint8_t> garbageBytes(std::size_t count, std::uint32_t seed);

// The first payload byte a wrong-code fault puts in place of `code`.
std::uint8_t wrongCodeFor(std::uint8_t code);

}  // namespace q93::sim
