#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sim/encoder_model.h"

namespace q93::sim {

using Payload = std::vector<std::uint8_t>;

// What the encoder does with one request payload.
struct Reply {
    bool known = false;             // false: acknowledge, answer nothing, say so on stderr
    std::optional<Payload> answer;  // the data answer's payload, for queries
    int changedPreset = 0;          // 1-8 when a set command changed that preset
    bool changedDevice = false;     // when a set command changed the device block
    std::string what;               // one line for the log: what was asked, or why unknown
};

// Turns request payloads into replies against the model, one table row per request form.
// The caller holds the model's lock.
class RequestHandler {
public:
    explicit RequestHandler(EncoderModel& model) : model_(model) {}

    Reply handle(const Payload& request);

    // The request forms in the order they are tried, by name, for tests and --help.
    static std::vector<std::string> formNames();

private:
    Reply parameterCommand(const Payload& request);
    Reply registerQuery(const Payload& request);
    Reply registerSet(const Payload& request);
    Reply clockQuery(const Payload& request);
    Reply clockSet(const Payload& request);

    Reply parameterQuery(const Payload& request);
    Reply parameterSet(const Payload& request);
    Reply levelQuery(const Payload& request);
    Reply memoryQuery(const Payload& request);

    struct Form {
        const char* name;
        std::vector<std::uint8_t> prefix;
        std::size_t minLength;
        Reply (RequestHandler::*answer)(const Payload&);
    };
    static const std::vector<Form>& forms();

    EncoderModel& model_;
};

// "2d 04 4d 49 70 03" for logs.
std::string hexBytes(std::span<const std::uint8_t> bytes);

}  // namespace q93::sim
