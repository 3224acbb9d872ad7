#include "resources/templates/test_template.h"

namespace q93 {
namespace {

using K = ControlKind;

constexpr ControlTemplate kControls[] = {
    {kStaticId, K::GroupBox, 7, 7, 216, 176, ""},
    {kStaticId, K::Label, 14, 20, 76, 10, "Modus:", "Mode:"},
    {kTestMode, K::DropDown, 92, 18, 110, 13, nullptr, nullptr,
     "Aus\nLinks\nRechts\nRechts = Links\nRechts = - Links",
     "Off\nLeft\nRight\nRight = Left\nRight = - Left"},
    {kStaticId, K::Label, 14, 38, 76, 10, "Testton:", "Testtone:"},
    {kTestTone, K::DropDown, 92, 36, 110, 13, nullptr, nullptr,
     "400 Hz\n500 Hz\n1 kHz\n4 kHz\n8 kHz\n15 kHz"},
    {kStaticId, K::Label, 14, 56, 206, 10, "Testton Pegel:", "Testtone Level:"},
    {kTestLevel, K::MaskEdit, 14, 66, 40, 12, ""},
    {kTestUnitText, K::Label, 58, 68, 162, 10, ""},
};

}  // namespace

const DialogTemplate kTestTemplate{139, "Test", "Test", 230, 190, 8, kControls};

}  // namespace q93
