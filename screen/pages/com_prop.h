#pragma once

#include "screen/pages/property_page.h"

namespace q93 {

class PageOwner;
struct ParameterSet;

// The Interfaces device page: baud rate and response mode of the encoder's four serial
// ports (not of the link this program uses), kept as list indexes.
class COMProp : public PropertyPage {
    Q_OBJECT

public:
    COMProp(PageOwner* owner, ParameterSet& params, QWidget* parent = nullptr);

    void LoadFromParams() override;
    bool StoreToParams() override;

private:
    ParameterSet& params_;
};

}  // namespace q93
