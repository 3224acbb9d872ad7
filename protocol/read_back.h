#pragma once

#include <string>
#include <vector>

#include "protocol/parameter_set.h"

namespace q93 {

// A transferred field that the encoder, read back, holds otherwise than it was sent.
struct FieldNotHeld {
    std::string field;
    std::string sent;
    std::string held;

    // "pilotLevel sent 6 holds 6.75"
    std::string text() const { return field + " sent " + sent + " holds " + held; }
};

// The transferred fields of a block read back that differ from the block sent, in the order
// of the transfer tables: whole numbers exactly, reals as the 32-bit floats the frames carry
// them in (so that 6.1 sent and 6.1 held as a float are the same). Two values that are both
// not a number are the same: the encoder holds what it was sent.
std::vector<FieldNotHeld> presetFieldsNotHeld(const PresetParameters& sent,
                                              const PresetParameters& held);
std::vector<FieldNotHeld> deviceFieldsNotHeld(const DeviceParameters& sent,
                                              const DeviceParameters& held);

// The fields as one text: "the encoder does not hold what was sent: pilotLevel sent 6 holds
// 6.75, preemphasis sent 2 holds 1".
std::string notHeldText(const std::vector<FieldNotHeld>& fields);

}  // namespace q93
