#pragma once

#include "screen/pages/property_page.h"

namespace q93 {

class PageOwner;

// The Interfaces device page: baud rate and response mode of the encoder's four serial
// ports (not of the link this program uses), kept as list indexes.
class COMProp : public PropertyPage {
    Q_OBJECT

public:
    explicit COMProp(PageOwner* owner, QWidget* parent = nullptr);

    void LoadFromParams() override;
    bool StoreToParams() override;
};

}  // namespace q93
