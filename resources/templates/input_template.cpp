#include "resources/templates/input_template.h"

namespace q93 {
namespace {

using K = ControlKind;

// The two delay rows are kept in the dialog but never shown.
constexpr ControlTemplate kControls[] = {
    {kStaticId, K::GroupBox, 7, 7, 216, 176, ""},
    {kStaticId, K::Label, 14, 20, 76, 10, "Quelle:", "Source:"},
    {kInputSource, K::DropDown, 92, 18, 100, 13, nullptr, nullptr,
     "Aus\nAnalog\nDigital\nAuto digital", "Off\nAnalog\nDigital\nAuto digital"},
    {kStaticId, K::Label, 14, 36, 206, 10, "Pegel:", "Level:"},
    {kInputLevel, K::MaskEdit, 14, 46, 40, 12, ""},
    {kInputUnitText, K::Label, 58, 48, 162, 10, ""},
    {kStaticId, K::Label, 14, 62, 206, 10, "AES Empfindlichkeit:", "AES Sensitivity:"},
    {kInputAesSensitivity, K::MaskEdit, 14, 72, 40, 12, ""},
    {kStaticId, K::Label, 58, 74, 162, 10, "dBFS ( -20 bis 0 dBFS ) ", "dBFS ( -20 to 0 dBFS ) "},
    {kStaticId, K::Label, 14, 90, 28, 10, "SCA:"},
    {kInputScaOff, K::RadioButton, 42, 89, 36, 10, "Aus", "Off"},
    {kInputSca1, K::RadioButton, 80, 89, 42, 10, "SCA 1"},
    {kInputSca2, K::RadioButton, 124, 89, 42, 10, "SCA 2"},
    {kInputSca12, K::RadioButton, 168, 89, 52, 10, "SCA 1+2"},
    {kStaticId, K::Label, 14, 104, 206, 10, "SCA1 Verstärkung:", "SCA1 Gain:"},
    {kInputSca1Gain, K::MaskEdit, 14, 114, 40, 12, ""},
    {kStaticId, K::Label, 58, 116, 162, 10, "dB ( -6 bis +6 dB )", "dB ( -6 to +6 dB )"},
    {kStaticId, K::Label, 14, 130, 206, 10, "SCA2 Verstärkung:", "SCA2 Gain:"},
    {kInputSca2Gain, K::MaskEdit, 14, 140, 40, 12, ""},
    {kStaticId, K::Label, 58, 142, 162, 10, "dB ( -6 bis +6 dB )", "dB ( -6 to +6 dB )"},
    {kStaticId, K::Label, 14, 158, 84, 10, "Delay digital/analog:", nullptr, nullptr, nullptr,
     true},
    {kInputDelayDigitalAnalog, K::Edit, 100, 156, 36, 12, "", nullptr, nullptr, nullptr, true},
    {kStaticId, K::Label, 140, 158, 80, 10, "Sekunden ( 0 - 600 s )", "Seconds ( 0 - 600 s )",
     nullptr, nullptr, true},
    {kStaticId, K::Label, 14, 170, 84, 10, "Delay analog/digital:", nullptr, nullptr, nullptr,
     true},
    {kInputDelayAnalogDigital, K::Edit, 100, 168, 36, 12, "", nullptr, nullptr, nullptr, true},
    {kStaticId, K::Label, 140, 170, 80, 10, "Sekunden ( 0 - 600 s )", "Seconds ( 0 - 600 s )",
     nullptr, nullptr, true},
};

}  // namespace

const DialogTemplate kInputTemplate{130, "Eingang", "Input", 230, 190, 8, kControls};

}  // namespace q93
