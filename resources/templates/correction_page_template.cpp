#include "resources/templates/correction_page_template.h"

namespace q93 {
namespace {

using K = ControlKind;

constexpr ControlTemplate kPageControls[] = {
    {kStaticId, K::GroupBox, 7, 7, 216, 176, ""},
    {kCorrectionList, K::ListView, 14, 18, 202, 158, "", nullptr, "#\nKorrektur Wert"},
};

constexpr DialogTemplate kPageTemplate{144, "Korrekturwerte", nullptr, 230, 190, 8, kPageControls};

constexpr ControlTemplate kEditControls[] = {
    {kStaticId, K::GroupBox, 7, 7, 166, 36, "Daten", "Data"},
    {kStaticId, K::Label, 15, 23, 30, 8, "Wert:", "Value:"},
    {kCorrectionValueEdit, K::MaskEdit, 48, 21, 116, 12, ""},
    {kOkButtonId, K::DefaultButton, 36, 50, 50, 14, "OK"},
    {kCancelButtonId, K::PushButton, 94, 50, 50, 14, "Abbrechen", "Cancel"},
};

constexpr DialogTemplate kEditTemplate{104, "Bearbeiten", "Modify", 180, 71, 8, kEditControls};

}  // namespace

const DialogTemplate& correctionPageTemplate() {
    return kPageTemplate;
}
const DialogTemplate& correctionEditTemplate() {
    return kEditTemplate;
}

}  // namespace q93
