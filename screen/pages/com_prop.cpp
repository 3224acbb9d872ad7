#include "screen/pages/com_prop.h"

#include <QComboBox>
#include <cstdint>

#include "protocol/parameter_set.h"
#include "resources/templates/interfaces_page_template.h"
#include "screen/pages/page_helpers.h"

namespace q93 {
namespace {

struct PortList {
    int controlId;
    std::int32_t DeviceParameters::*field;
};

// Load and store order: each port's baud rate, then its response mode.
constexpr PortList kPortLists[] = {
    {kInterfacesFrontBaud, &DeviceParameters::frontBaud},
    {kInterfacesFrontResponse, &DeviceParameters::frontResponse},
    {kInterfacesDte1Baud, &DeviceParameters::dte1Baud},
    {kInterfacesDte1Response, &DeviceParameters::dte1Response},
    {kInterfacesDte2Baud, &DeviceParameters::dte2Baud},
    {kInterfacesDte2Response, &DeviceParameters::dte2Response},
    {kInterfacesDte3Baud, &DeviceParameters::dte3Baud},
    {kInterfacesDte3Response, &DeviceParameters::dte3Response},
};

}  // namespace

COMProp::COMProp(PageOwner* /*owner*/, ParameterSet& params, QWidget* parent)
    : PropertyPage(interfacesPageTemplate(), parent), params_(params) {}

void COMProp::LoadFromParams() {
    const DeviceParameters& device = params_.device;
    for (const PortList& list : kPortLists) {
        ShowListIndex(list.controlId, device.*list.field);
    }
}

bool COMProp::StoreToParams() {
    // Without its controls the page has nothing to store, and must not store "no selection".
    if (!isBuilt())
        return true;
    DeviceParameters& device = params_.device;
    for (const PortList& list : kPortLists) {
        device.*list.field = StoredListIndex(list.controlId);
    }
    return true;
}

}  // namespace q93
