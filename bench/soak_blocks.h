#pragma once

// What a transfer's steps do to the blocks, walked over the transfer tables: the values a
// read must have stored, the edits a write sends, and what the encoder holds after it.

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "bench/soak_expect.h"
#include "protocol/parameter_set.h"
#include "protocol/transfer_steps.h"

namespace q93::soak {

// A float whose bytes are anything at all, so that the frames carry every byte the codec
// must escape; now and then a plain value such as a page would send.
inline double randomFloat(std::mt19937_64& rng) {
    if (std::bernoulli_distribution(0.25)(rng))
        return static_cast<float>(std::uniform_int_distribution<int>(-1000, 1000)(rng) / 10.0);
    for (;;) {
        const auto bits = static_cast<std::uint32_t>(rng());
        const float value = std::bit_cast<float>(bits);
        if (std::isfinite(value))
            return value;
    }
}

// The fields a read stores: those of the steps before the failing one take what the encoder
// holds, the failing one its reader's failure value when the data answer failed; the others
// keep what they had. Steps are numbered from firstStep + 1.
template <typename Block>
Block expectedAfterRead(std::span<const steps::ReadStep<Block>> table, int firstStep,
                        const Block& before, const Block& held, const Outcome& outcome) {
    Block expected = before;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const auto& step = table[i];
        const int number = firstStep + static_cast<int>(i) + 1;
        const bool read = outcome.failStep == 0 || number < outcome.failStep;
        const bool failedHere = number == outcome.failStep && outcome.valueFailed;
        // The status block holds bytes only; its table names no float field.
        if constexpr (!std::is_same_v<Block, DeviceStatus>) {
            if (step.real != nullptr) {
                if (read)
                    expected.*step.real = held.*step.real;
                if (failedHere)
                    expected.*step.real = -1.0;
                continue;
            }
        }
        if (read)
            expected.*step.integer = held.*step.integer;
        if (failedHere)
            expected.*step.integer = -1;
    }
    return expected;
}

inline std::string valueText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

// One line for each field of the table that is not as expected.
template <typename Block>
void compareFields(std::span<const steps::ReadStep<Block>> table, int firstStep,
                   const Block& expected, const Block& actual, std::vector<std::string>& out) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        const auto& step = table[i];
        const std::string at = "step " + std::to_string(firstStep + static_cast<int>(i) + 1);
        if (step.take == steps::Take::Float) {
            const double want = expected.*step.real;
            const double got = actual.*step.real;
            if (std::bit_cast<std::uint64_t>(want) != std::bit_cast<std::uint64_t>(got))
                out.push_back(at + ": " + valueText(got) + " where " + valueText(want) +
                              " belongs");
        } else if (expected.*step.integer != actual.*step.integer) {
            out.push_back(at + ": " + std::to_string(actual.*step.integer) + " where " +
                          std::to_string(expected.*step.integer) + " belongs");
        }
    }
}

// The edits of a write: every field it sends gets a new value the wire can carry.
template <typename Block>
void editFields(std::span<const steps::WriteStep<Block>> table, Block& block,
                std::mt19937_64& rng) {
    for (const auto& step : table) {
        if (step.real != nullptr) {
            block.*step.real = randomFloat(rng);
            continue;
        }
        int top = step.put == steps::Put::Indexed16 ? 0xFFFF : 0xFF;
        // Mostly one of the eight presets, now and then an index the encoder maps to preset 1.
        if constexpr (std::is_same_v<Block, DeviceParameters>) {
            if (step.integer == &DeviceParameters::activePreset)
                top = 9;
        }
        block.*step.integer = std::uniform_int_distribution<int>(0, top)(rng);
    }
}

// What the encoder holds after the first `applied` steps of a write reached it: each value
// as the wire carried it.
template <typename Block>
void applyWrite(std::span<const steps::WriteStep<Block>> table, int applied, const Block& sent,
                Block& held) {
    for (int i = 0; i < applied && i < static_cast<int>(table.size()); ++i) {
        const auto& step = table[static_cast<std::size_t>(i)];
        if (step.real != nullptr) {
            held.*step.real = static_cast<float>(sent.*step.real);
        } else {
            const int mask = step.put == steps::Put::Indexed16 ? 0xFFFF : 0xFF;
            held.*step.integer = sent.*step.integer & mask;
        }
    }
}

}  // namespace q93::soak
