#pragma once

#include "screen/pages/property_page.h"

namespace q93 {

// The mode preset page: operation mode and preemphasis.
class PModeProp : public PropertyPage {
    Q_OBJECT

public:
    explicit PModeProp(QWidget* parent = nullptr);

    void LoadFromParams() override;
    bool StoreToParams() override;
};

}  // namespace q93
