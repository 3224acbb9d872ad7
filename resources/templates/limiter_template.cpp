#include "resources/templates/limiter_template.h"

namespace q93 {
namespace {

using K = ControlKind;

constexpr ControlTemplate kControls[] = {
    {kStaticId, K::GroupBox, 7, 7, 216, 176, ""},
    {kStaticId, K::Label, 14, 18, 206, 10, "Hub-Begrenzer:", "Peak Deviation-Limiter:"},
    {kLimiterPeakOn, K::RadioButton, 14, 30, 44, 10, "An", "On"},
    {kLimiterPeakOff, K::RadioButton, 62, 30, 44, 10, "Aus", "Off"},
    {kStaticId, K::Label, 14, 46, 206, 10, "maximaler Hub:", "Maximum Deviation:"},
    {kLimiterMaxDeviation, K::MaskEdit, 14, 56, 40, 12, ""},
    {kStaticId, K::Label, 58, 58, 162, 10, "kHz ( 20 bis 100 kHz )", "kHz ( 20 to 100 kHz )"},
    {kStaticId, K::Label, 14, 78, 206, 10,
     "Modulations-Leistungsbegrenzer:", "Modulation Power Limiter:"},
    {kLimiterPowerOn, K::RadioButton, 14, 90, 44, 10, "An", "On"},
    {kLimiterPowerOff, K::RadioButton, 62, 90, 44, 10, "Aus", "Off"},
    {kStaticId, K::Label, 14, 106, 206, 10,
     "maximale Modulations-Leistung:", "Maximum Modulation Output:"},
    {kLimiterMaxModulation, K::MaskEdit, 14, 116, 40, 12, ""},
    {kStaticId, K::Label, 58, 118, 162, 10, "dBr ( -6 bis +6 dBr )", "dBr ( -6 to +6 dBr )"},
};

}  // namespace

const DialogTemplate kLimiterTemplate{136, "Begrenzer", "Limiter", 230, 190, 8, kControls};

}  // namespace q93
