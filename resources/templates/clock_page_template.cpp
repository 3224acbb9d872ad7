#include "resources/templates/clock_page_template.h"

namespace q93 {
namespace {

using K = ControlKind;

// The offset list is filled by the page; it and its label stay hidden.
constexpr ControlTemplate kControls[] = {
    {kStaticId, K::GroupBox, 7, 7, 216, 176, ""},
    {kStaticId, K::GroupBox, 14, 18, 202, 112, "Datum / Zeit", "Date / Time"},
    {kClockPcTime, K::RadioButton, 24, 32, 80, 10, "PC Zeit", "PC Time"},
    {kClockManual, K::RadioButton, 24, 46, 80, 10, "Manuell", "Manual"},
    {kStaticId, K::Label, 24, 68, 44, 8, "Datum:", "Date:"},
    {kClockDate, K::DatePicker, 72, 66, 80, 14, ""},
    {kStaticId, K::Label, 24, 88, 44, 8, "Zeit:", "Time:"},
    {kClockTime, K::TimePicker, 72, 86, 80, 14, ""},
    {kStaticId, K::Label, 24, 110, 44, 8, "Offset ( h ):", nullptr, nullptr, nullptr, true},
    {kClockOffsetList, K::DropDown, 72, 108, 50, 12, "", nullptr, nullptr, nullptr, true},
    {kClockSend, K::PushButton, 40, 144, 64, 14, "Senden", "Send"},
    {kClockRead, K::PushButton, 126, 144, 64, 14, "Einlesen", "Read"},
};

constexpr DialogTemplate kTemplate{143, "Echtzeit Uhr", "Realtime Clock", 230, 190, 8, kControls};

}  // namespace

const DialogTemplate& clockPageTemplate() {
    return kTemplate;
}

}  // namespace q93
