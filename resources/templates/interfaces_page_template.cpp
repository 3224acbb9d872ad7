#include "resources/templates/interfaces_page_template.h"

namespace q93 {
namespace {

using K = ControlKind;

constexpr const char* kBauds = "1200\n2400\n4800\n9600\n19200\n38400";
// Kept in this order by the sorted list, and the same words in both languages.
constexpr const char* kResponses = "None\nRequest\nSpontan";

constexpr ControlTemplate kControls[] = {
    {kStaticId, K::GroupBox, 7, 7, 216, 176, ""},
    {kStaticId, K::Label, 130, 22, 70, 8, "Antwort", "Response"},
    {kStaticId, K::Label, 24, 38, 34, 8, "Front:"},
    {kInterfacesFrontBaud, K::DropDown, 62, 36, 56, 12, "", nullptr, kBauds},
    {kInterfacesFrontResponse, K::DropDown, 130, 36, 64, 12, "", nullptr, kResponses},
    {kStaticId, K::Label, 24, 56, 34, 8, "DTE1:"},
    {kInterfacesDte1Baud, K::DropDown, 62, 54, 56, 12, "", nullptr, kBauds},
    {kInterfacesDte1Response, K::DropDown, 130, 54, 64, 12, "", nullptr, kResponses},
    {kStaticId, K::Label, 24, 74, 34, 8, "DTE2:"},
    {kInterfacesDte2Baud, K::DropDown, 62, 72, 56, 12, "", nullptr, kBauds},
    {kInterfacesDte2Response, K::DropDown, 130, 72, 64, 12, "", nullptr, kResponses},
    {kStaticId, K::Label, 24, 92, 34, 8, "DTE3:"},
    {kInterfacesDte3Baud, K::DropDown, 62, 90, 56, 12, "", nullptr, kBauds},
    {kInterfacesDte3Response, K::DropDown, 130, 90, 64, 12, "", nullptr, kResponses},
};

constexpr DialogTemplate kTemplate{141, "Schnittstellen", "Interfaces", 230, 190, 8, kControls};

}  // namespace

const DialogTemplate& interfacesPageTemplate() {
    return kTemplate;
}

}  // namespace q93
