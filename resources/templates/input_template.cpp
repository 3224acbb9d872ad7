#include "resources/templates/preset_templates.h"

namespace q93 {
namespace {

using K = ControlKind;

// The two delay rows are kept in the dialog but never shown.
constexpr ControlTemplate kControls[] = {
    {kStaticId, K::GroupBox, 7, 7, 216, 176, ""},
    {kStaticId, K::Label, 14, 20, 76, 10, "Quelle:", "Source:"},
    {1007, K::DropDown, 92, 18, 100, 13, nullptr, nullptr, "Aus\nAnalog\nDigital\nAuto digital",
     "Off\nAnalog\nDigital\nAuto digital"},
    {kStaticId, K::Label, 14, 36, 206, 10, "Pegel:", "Level:"},
    {1030, K::MaskEdit, 14, 46, 40, 12, ""},
    {1009, K::Label, 58, 48, 162, 10, ""},
    {kStaticId, K::Label, 14, 62, 206, 10, "AES Empfindlichkeit:", "AES Sensitivity:"},
    {1031, K::MaskEdit, 14, 72, 40, 12, ""},
    {kStaticId, K::Label, 58, 74, 162, 10, "dBFS ( -20 bis 0 dBFS ) ", "dBFS ( -20 to 0 dBFS ) "},
    {kStaticId, K::Label, 14, 90, 28, 10, "SCA:"},
    {1032, K::RadioButton, 42, 89, 36, 10, "Aus", "Off"},
    {1033, K::RadioButton, 80, 89, 42, 10, "SCA 1"},
    {1034, K::RadioButton, 124, 89, 42, 10, "SCA 2"},
    {1035, K::RadioButton, 168, 89, 52, 10, "SCA 1+2"},
    {kStaticId, K::Label, 14, 104, 206, 10, "SCA1 Verstärkung:", "SCA1 Gain:"},
    {1013, K::MaskEdit, 14, 114, 40, 12, ""},
    {kStaticId, K::Label, 58, 116, 162, 10, "dB ( -6 bis +6 dB )", "dB ( -6 to +6 dB )"},
    {kStaticId, K::Label, 14, 130, 206, 10, "SCA2 Verstärkung:", "SCA2 Gain:"},
    {1014, K::MaskEdit, 14, 140, 40, 12, ""},
    {kStaticId, K::Label, 58, 142, 162, 10, "dB ( -6 bis +6 dB )", "dB ( -6 to +6 dB )"},
    {kStaticId, K::Label, 14, 158, 84, 10, "Delay digital/analog:", nullptr, nullptr, nullptr,
     true},
    {1054, K::Edit, 100, 156, 36, 12, "", nullptr, nullptr, nullptr, true},
    {kStaticId, K::Label, 140, 158, 80, 10, "Sekunden ( 0 - 600 s )", "Seconds ( 0 - 600 s )",
     nullptr, nullptr, true},
    {kStaticId, K::Label, 14, 170, 84, 10, "Delay analog/digital:", nullptr, nullptr, nullptr,
     true},
    {1055, K::Edit, 100, 168, 36, 12, "", nullptr, nullptr, nullptr, true},
    {kStaticId, K::Label, 140, 170, 80, 10, "Sekunden ( 0 - 600 s )", "Seconds ( 0 - 600 s )",
     nullptr, nullptr, true},
};

}  // namespace

const DialogTemplate kInputTemplate{130, "Eingang", "Input", 230, 190, 8, kControls};

}  // namespace q93
