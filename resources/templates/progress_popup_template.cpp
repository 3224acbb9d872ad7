#include "resources/templates/progress_popup_template.h"

namespace q93 {
namespace {

using K = ControlKind;

constexpr ControlTemplate kControls[] = {
    {kProgressText, K::LabelCenter, 1, 5, 151, 9, ""},
};

constexpr DialogTemplate kTemplate{106, "", nullptr, 152, 17, 10, kControls};

}  // namespace

const DialogTemplate& progressPopupTemplate() {
    return kTemplate;
}

}  // namespace q93
