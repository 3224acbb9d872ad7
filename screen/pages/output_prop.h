#pragma once

#include "screen/pages/property_page.h"

namespace q93 {

struct ParameterSet;

// The second preset page: MPX gain, AUX output, pilot status, level and phase, headphone
// level.
class OutputProp : public PropertyPage {
    Q_OBJECT

public:
    explicit OutputProp(ParameterSet& params, QWidget* parent = nullptr);

    void LoadFromParams() override;
    bool StoreToParams() override;

protected:
    void InitDialog() override;

private:
    ParameterSet& params_;
};

}  // namespace q93
