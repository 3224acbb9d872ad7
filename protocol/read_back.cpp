#include "protocol/read_back.h"

#include <cmath>
#include <span>

#include "protocol/parameter_fields.h"
#include "protocol/parameter_ranges.h"

namespace q93 {
namespace {

bool sameOnTheWire(double sent, double held, FieldType type) {
    if (type == FieldType::Int32)
        return sent == held;
    const float sentFloat = static_cast<float>(sent);
    const float heldFloat = static_cast<float>(held);
    return sentFloat == heldFloat || (std::isnan(sentFloat) && std::isnan(heldFloat));
}

std::vector<FieldNotHeld> notHeld(const void* sent, const void* held,
                                  std::span<const FieldRange> ranges) {
    std::vector<FieldNotHeld> found;
    for (const FieldRange& range : ranges) {
        if (sameOnTheWire(fieldValue(sent, range), fieldValue(held, range), range.type))
            continue;
        const auto* sentAt = static_cast<const unsigned char*>(sent) + range.offset;
        const auto* heldAt = static_cast<const unsigned char*>(held) + range.offset;
        found.push_back({range.name, formatFieldValue(sentAt, range.type),
                         formatFieldValue(heldAt, range.type)});
    }
    return found;
}

}  // namespace

std::vector<FieldNotHeld> presetFieldsNotHeld(const PresetParameters& sent,
                                              const PresetParameters& held) {
    return notHeld(&sent, &held, presetRanges());
}

std::vector<FieldNotHeld> deviceFieldsNotHeld(const DeviceParameters& sent,
                                              const DeviceParameters& held) {
    return notHeld(&sent, &held, deviceRanges());
}

std::string notHeldText(const std::vector<FieldNotHeld>& fields) {
    std::string text = "the encoder does not hold what was sent:";
    for (std::size_t i = 0; i < fields.size(); ++i)
        text += (i == 0 ? " " : ", ") + fields[i].text();
    return text;
}

}  // namespace q93
