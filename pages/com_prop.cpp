#include "pages/com_prop.h"

#include <QComboBox>
#include <cstdint>

#include "pages/page_helpers.h"
#include "protocol/parameter_set.h"
#include "resources/templates/interfaces_page_template.h"

namespace q93 {
namespace {

struct PortList {
    int controlId;
    std::int32_t DeviceParameters::*field;
};

// Load and store order: each port's baud rate, then its response mode.
constexpr PortList kPortLists[] = {
    {1028, &DeviceParameters::frontBaud}, {1056, &DeviceParameters::frontResponse},
    {1029, &DeviceParameters::dte1Baud},  {1057, &DeviceParameters::dte1Response},
    {1018, &DeviceParameters::dte2Baud},  {1059, &DeviceParameters::dte2Response},
    {1019, &DeviceParameters::dte3Baud},  {1061, &DeviceParameters::dte3Response},
};

}  // namespace

COMProp::COMProp(PageOwner* /*owner*/, ParameterSet& params, QWidget* parent)
    : PropertyPage(interfacesPageTemplate(), parent), params_(params) {}

void COMProp::LoadFromParams() {
    const DeviceParameters& device = params_.device;
    for (const PortList& list : kPortLists) {
        SelectListIndex(controlAs<QComboBox>(list.controlId), device.*list.field);
    }
}

bool COMProp::StoreToParams() {
    // Without its controls the page has nothing to store, and must not store "no selection".
    if (!isBuilt())
        return true;
    DeviceParameters& device = params_.device;
    for (const PortList& list : kPortLists) {
        device.*list.field = SelectedListIndex(controlAs<QComboBox>(list.controlId));
    }
    return true;
}

}  // namespace q93
