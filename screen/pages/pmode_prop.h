#pragma once

#include "screen/pages/property_page.h"

namespace q93 {

struct ParameterSet;

// The mode preset page: operation mode and preemphasis.
class PModeProp : public PropertyPage {
    Q_OBJECT

public:
    explicit PModeProp(ParameterSet& params, QWidget* parent = nullptr);

    void LoadFromParams() override;
    bool StoreToParams() override;

private:
    ParameterSet& params_;
};

}  // namespace q93
