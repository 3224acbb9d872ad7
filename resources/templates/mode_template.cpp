#include "resources/templates/mode_template.h"

namespace q93 {
namespace {

using K = ControlKind;

constexpr ControlTemplate kControls[] = {
    {kStaticId, K::GroupBox, 7, 7, 216, 176, ""},
    {kStaticId, K::Label, 14, 20, 76, 10, "Modus:", "Operation Mode:"},
    {kModeOperationMode, K::DropDown, 92, 18, 100, 13, nullptr, nullptr,
     "Stereo\nMono-L\nMono-R\nTestton", "Stereo\nMono-L\nMono-R\nTesttone"},
    {kStaticId, K::Label, 14, 38, 76, 10, "Preemphase:", "Preemphasis:"},
    {kModePreemphasis, K::DropDown, 92, 36, 100, 13, nullptr, nullptr, "Aus\n50us\n75us",
     "Off\n50us\n75us"},
};

}  // namespace

const DialogTemplate kModeTemplate{137, "Modus", "Mode", 230, 190, 8, kControls};

}  // namespace q93
