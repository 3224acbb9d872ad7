#pragma once

#include <nlohmann/json.hpp>

#include "watch/encoder_health.h"

namespace q93::watch {

// A poll's findings as a JSON object, the form they travel in from the worker thread that
// polled to the one that serves them.
nlohmann::ordered_json healthJson(const EncoderHealth& health);
// Back; whatever is missing or of the wrong kind reads as an encoder that did not answer.
EncoderHealth healthFromJson(const nlohmann::ordered_json& json);

}  // namespace q93::watch
