#pragma once

#include "screen/pages/property_page.h"

namespace q93 {

struct ParameterSet;

// The third preset page: the peak deviation limiter and the modulation power limiter,
// with their limits.
class LimitProp : public PropertyPage {
    Q_OBJECT

public:
    explicit LimitProp(ParameterSet& params, QWidget* parent = nullptr);

    void LoadFromParams() override;
    bool StoreToParams() override;

protected:
    void InitDialog() override;

private:
    ParameterSet& params_;
};

}  // namespace q93
