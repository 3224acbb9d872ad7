#pragma once

#include "screen/pages/property_page.h"

namespace q93 {

struct ParameterSet;

// The mod check preset page: signalling of a missing modulation, and per input the
// switch-off and switch-on times and the level threshold.
class ModChk : public PropertyPage {
    Q_OBJECT

public:
    explicit ModChk(ParameterSet& params, QWidget* parent = nullptr);

    void LoadFromParams() override;
    bool StoreToParams() override;

protected:
    void InitDialog() override;

private:
    ParameterSet& params_;
};

}  // namespace q93
