#pragma once

#include "screen/pages/property_page.h"

namespace q93 {

// The second preset page: MPX gain, AUX output, pilot status, level and phase, headphone
// level.
class OutputProp : public PropertyPage {
    Q_OBJECT

public:
    explicit OutputProp(QWidget* parent = nullptr);

    void LoadFromParams() override;
    bool StoreToParams() override;

protected:
    void InitDialog() override;
};

}  // namespace q93
