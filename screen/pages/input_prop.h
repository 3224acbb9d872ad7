#pragma once

#include "screen/pages/property_page.h"

namespace q93 {

struct ParameterSet;

// The first preset page: input source, input level, AES sensitivity, SCA mode and gains,
// and the two delays whose controls are hidden.
class InputProp : public PropertyPage {
    Q_OBJECT

public:
    explicit InputProp(ParameterSet& params, QWidget* parent = nullptr);

    void LoadFromParams() override;
    bool StoreToParams() override;

protected:
    void InitDialog() override;

private:
    ParameterSet& params_;
};

}  // namespace q93
