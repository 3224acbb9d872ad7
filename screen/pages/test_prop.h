#pragma once

#include "screen/pages/property_page.h"

namespace q93 {

struct ParameterSet;

// The last preset page: test-tone routing, frequency and level.
class TestProp : public PropertyPage {
    Q_OBJECT

public:
    explicit TestProp(ParameterSet& params, QWidget* parent = nullptr);

    void LoadFromParams() override;
    bool StoreToParams() override;

protected:
    void InitDialog() override;

private:
    ParameterSet& params_;
};

}  // namespace q93
