#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "protocol/parameter_ranges.h"

namespace q93 {

// A field as the user finds it, in the user's language: "Output – Pilot Level (pilotLevel)".
QString fieldLabel(const FieldRange& range);

// The fields of a send that no page could give, one line each in the user's language and in
// the units the pages show them in: "Output – Pilot Level (pilotLevel): 900.0 kHz, allowed:
// 5.0 to 20.0 kHz". Levels follow the device's unit; a value no page can show is named as such.
QStringList outOfRangeLines(const std::vector<RangeViolation>& fields,
                            const DeviceParameters& device);

}  // namespace q93
