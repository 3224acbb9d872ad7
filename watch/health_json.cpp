#include "watch/health_json.h"

namespace q93::watch {
namespace {

// The status fields by name, for both directions.
constexpr std::pair<const char*, std::int32_t DeviceStatus::*> kStatusFields[] = {
    {"currentInput", &DeviceStatus::currentInput},
    {"digitalChannels", &DeviceStatus::digitalChannels},
    {"aesFrameStatus", &DeviceStatus::aesFrameStatus},
    {"analogChannels", &DeviceStatus::analogChannels},
};

template <std::size_t N>
void readArray(const nlohmann::ordered_json& json, const char* key, std::array<double, N>& out) {
    const auto it = json.find(key);
    if (it == json.end() || !it->is_array() || it->size() != N)
        return;
    for (std::size_t i = 0; i < N; ++i)
        out[i] = (*it)[i].is_number() ? (*it)[i].get<double>() : 0.0;
}

}  // namespace

nlohmann::ordered_json healthJson(const EncoderHealth& health) {
    nlohmann::ordered_json json = {{"up", health.up},
                                   {"link", health.link},
                                   {"pollSeconds", health.pollSeconds},
                                   {"finishedAt", health.finishedAt},
                                   {"clockOffsetSeconds", health.clockOffsetSeconds},
                                   {"levelSet0", health.levelSet0},
                                   {"levelSet1", health.levelSet1},
                                   {"failure", health.failure}};
    for (const auto& [name, field] : kStatusFields)
        json[name] = health.status.*field;
    return json;
}

EncoderHealth healthFromJson(const nlohmann::ordered_json& json) {
    EncoderHealth health;
    if (!json.is_object())
        return health;
    health.up = json.value("up", false);
    health.link = json.value("link", "");
    health.pollSeconds = json.value("pollSeconds", 0.0);
    health.finishedAt = json.value("finishedAt", 0.0);
    health.clockOffsetSeconds = json.value("clockOffsetSeconds", 0.0);
    health.failure = json.value("failure", "");
    for (const auto& [name, field] : kStatusFields)
        health.status.*field = json.value(name, -1);
    readArray(json, "levelSet0", health.levelSet0);
    readArray(json, "levelSet1", health.levelSet1);
    return health;
}

}  // namespace q93::watch
