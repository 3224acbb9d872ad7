#include "resources/templates/output_template.h"

namespace q93 {
namespace {

using K = ControlKind;

constexpr ControlTemplate kControls[] = {
    {kStaticId, K::GroupBox, 7, 7, 216, 176, ""},
    {kStaticId, K::Label, 14, 18, 206, 10, "MPX Verstärkung:", "MPX Gain:"},
    {kOutputMpxGain, K::MaskEdit, 14, 28, 40, 12, ""},
    {kStaticId, K::Label, 58, 30, 162, 10, "dB ( -6 bis 6 dB )", "dB ( -6 to 6 dB )"},
    {kStaticId, K::Label, 14, 48, 76, 10, "AUX Ausgang:", "AUX Output:"},
    {kOutputAuxOutput, K::DropDown, 92, 46, 100, 13, nullptr, nullptr,
     "Aus\nMPX\nLinks\nRechts\nM\nS\nPilot\nSCA1\nSCA2\nSCA1+2",
     "Off\nMPX\nLeft\nRight\nM\nS\nPilot\nSCA1\nSCA2\nSCA1+2"},
    {kStaticId, K::Label, 14, 66, 76, 10, "Pilot Status:"},
    {kOutputPilotStatus, K::DropDown, 92, 64, 100, 13, nullptr, nullptr, "Aus\nSinus\nRechteck",
     "Off\nSinus\nSquare"},
    {kStaticId, K::Label, 14, 84, 206, 10, "Pilot Pegel:", "Pilot Level:"},
    {kOutputPilotLevel, K::MaskEdit, 14, 94, 40, 12, ""},
    {kOutputUnitText, K::Label, 58, 96, 162, 10, ""},
    {kStaticId, K::Label, 14, 110, 206, 10, "Pilot Phase:"},
    {kOutputPilotPhase, K::MaskEdit, 14, 120, 40, 12, ""},
    {kStaticId, K::Label, 58, 122, 162, 10, "° ( -5.0 bis 5.0 ° )", "° ( -5.0 to 5.0 ° )"},
    {kStaticId, K::Label, 14, 136, 206, 10, "Kopfhörer:", "Headphone:"},
    {kOutputHeadphone, K::MaskEdit, 14, 146, 40, 12, ""},
    {kStaticId, K::Label, 58, 148, 162, 10, "dB ( -60.0 bis 0.0 dB )", "dB ( -60.0 to 0.0 dB )"},
};

}  // namespace

const DialogTemplate kOutputTemplate{134, "Ausgang", "Output", 230, 190, 8, kControls};

}  // namespace q93
