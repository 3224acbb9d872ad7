#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "protocol/device_connection.h"

namespace q93::steps {

// What a read step sends.
enum class Ask : std::uint8_t { Query, QueryIndexed, Memory, Text };
struct Request {
    Ask ask;
    std::uint32_t what;  // parameter id or memory address
    std::uint8_t index;
    const char* text;  // for Ask::Text: the whole command text
};
constexpr Request query(std::uint8_t id) {
    return {Ask::Query, id, 0, nullptr};
}
constexpr Request queryIndexed(std::uint8_t id, std::uint8_t index) {
    return {Ask::QueryIndexed, id, index, nullptr};
}
constexpr Request memory(std::uint32_t address) {
    return {Ask::Memory, address, 0, nullptr};
}
constexpr Request text(const char* command) {
    return {Ask::Text, 0, 0, command};
}

// How a read step takes its value from the answer.
enum class Take : std::uint8_t { Byte, ByteAt, Word, Float };

inline constexpr std::uint8_t kParameterAnswer = 0x2D;

// One row of a read table: the request, the reader with its expected code and offset, and
// the field the value goes to (an int field, or a double field for Take::Float).
template <typename Block>
struct ReadStep {
    Request request;
    Take take;
    std::uint8_t code;
    int offset;
    std::int32_t Block::*integer;
    double Block::*real;
};

template <typename Block>
constexpr ReadStep<Block> readByte(Request request, std::int32_t Block::*field) {
    return {request, Take::Byte, kParameterAnswer, 0, field, nullptr};
}
template <typename Block>
constexpr ReadStep<Block> readFloat(Request request, int offset, double Block::*field) {
    return {request, Take::Float, kParameterAnswer, offset, nullptr, field};
}
template <typename Block>
constexpr ReadStep<Block> readWord(Request request, int offset, std::int32_t Block::*field) {
    return {request, Take::Word, kParameterAnswer, offset, field, nullptr};
}
template <typename Block>
constexpr ReadStep<Block> readByteAt(Request request, std::uint8_t code, int offset,
                                     std::int32_t Block::*field) {
    return {request, Take::ByteAt, code, offset, field, nullptr};
}

// What a write step sends: a set command of the connection's form, or a register write.
enum class Put : std::uint8_t { Byte, Float, IndexedFloat, Indexed16, Register };

template <typename Block>
struct WriteStep {
    Put put;
    std::uint8_t id;
    std::uint8_t index;
    const char* format;  // for Put::Register, such as "3b,04,%02x"
    std::int32_t Block::*integer;
    double Block::*real;
};

template <typename Block>
constexpr WriteStep<Block> writeByte(std::uint8_t id, std::int32_t Block::*field) {
    return {Put::Byte, id, 0, nullptr, field, nullptr};
}
template <typename Block>
constexpr WriteStep<Block> writeFloat(std::uint8_t id, double Block::*field) {
    return {Put::Float, id, 0, nullptr, nullptr, field};
}
template <typename Block>
constexpr WriteStep<Block> writeIndexedFloat(std::uint8_t id, std::uint8_t index,
                                             double Block::*field) {
    return {Put::IndexedFloat, id, index, nullptr, nullptr, field};
}
template <typename Block>
constexpr WriteStep<Block> writeIndexed16(std::uint8_t id, std::uint8_t index,
                                          std::int32_t Block::*field) {
    return {Put::Indexed16, id, index, nullptr, field, nullptr};
}
template <typename Block>
constexpr WriteStep<Block> writeRegister(const char* format, std::int32_t Block::*field) {
    return {Put::Register, 0, 0, format, field, nullptr};
}

// Sends a step's request; Transact's result.
int send(DeviceConnection& connection, const Request& request);
// Reads one value as a double (ints widened exactly); answerError tells whether it failed.
double take(DeviceConnection& connection, Take take, std::uint8_t code, int offset);
// Formats a write step's command from its value and sends it; Transact's result.
int put(DeviceConnection& connection, Put put, std::uint8_t id, std::uint8_t index,
        const char* format, double real, std::int32_t integer);

// Walks a read table: each value is stored as soon as it is read, the reader's failure
// value included; false at the first failing step (already reported, link closed).
template <typename Block>
bool runReadSteps(DeviceConnection& connection, std::span<const ReadStep<Block>> table,
                  Block& block) {
    for (const ReadStep<Block>& step : table) {
        if (send(connection, step.request) != 0)
            return false;
        const double value = take(connection, step.take, step.code, step.offset);
        if (step.take == Take::Float) {
            block.*step.real = value;
        } else {
            block.*step.integer = static_cast<std::int32_t>(value);
        }
        if (connection.answerError == -1)
            return false;
    }
    return true;
}

// Walks a write table, taking each value from the block at the moment it is sent.
template <typename Block>
bool runWriteSteps(DeviceConnection& connection, std::span<const WriteStep<Block>> table,
                   const Block& block) {
    for (const WriteStep<Block>& step : table) {
        const double real = step.real != nullptr ? block.*step.real : 0.0;
        const std::int32_t integer = step.integer != nullptr ? block.*step.integer : 0;
        if (put(connection, step.put, step.id, step.index, step.format, real, integer) != 0) {
            return false;
        }
    }
    return true;
}

// The frame every transfer runs in: popup created hidden, link opened (reportOpenFailure
// when that fails), the progress text shown, the command form set (the long form addressed
// to preset `presetNumber`), the steps run, link closed and popup removed. 0, or -1 when
// the open or a step failed.
int runTransfer(DeviceConnection& connection, int progressTextId, bool shortForm, int presetNumber,
                const std::function<bool()>& steps);

// After a failed open: string 111 with the port name when the serial port did not open. A
// TCP connect that failed has shown its own message, which stays the only one.
void reportOpenFailure(const DeviceConnection& connection);

}  // namespace q93::steps
