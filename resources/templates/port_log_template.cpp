#include "resources/templates/port_log_template.h"

namespace q93 {
namespace {

using K = ControlKind;

constexpr ControlTemplate kControls[] = {
    {kPortLogEntries, K::ListBox, 7, 7, 304, 159, ""},
    {kPortLogClear, K::PushButton, 7, 172, 40, 14, "Löschen", "Clear"},
    {kPortLogSave, K::PushButton, 53, 172, 39, 14, "Speichern", "Save"},
};

constexpr DialogTemplate kTemplate{103, "Port Log", nullptr, 318, 193, 8, kControls};

}  // namespace

const DialogTemplate& portLogTemplate() {
    return kTemplate;
}

}  // namespace q93
