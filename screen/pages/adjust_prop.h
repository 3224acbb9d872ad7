#pragma once

#include "screen/pages/property_page.h"

namespace q93 {

class PageOwner;
struct ParameterSet;

// The Settings device page: active preset, level unit, the encoder's display language and
// the input sensitivity, plus the status the last device read brought back. The only page
// whose store can fail: a sensitivity that is no number keeps the user on the page.
class AdjustProp : public PropertyPage {
    Q_OBJECT

public:
    AdjustProp(PageOwner* owner, ParameterSet& params, QWidget* parent = nullptr);

    void LoadFromParams() override;
    // Stores nothing and returns false when the sensitivity is no number (after telling the
    // user and selecting the text); otherwise stores the four fields and returns true.
    bool StoreToParams() override;
    // The number check alone, as run before sending to the device.
    bool ValidatePage() override;

    // Leaving for another tab: after a successful store the owner saves the current node,
    // because the preset pages of this encoder take unit and sensitivity from its file.
    bool OnKillActive() override;

protected:
    void InitDialog() override;

private:
    bool checkSensitivity();
    void loadStatus();

    PageOwner* owner_;
    ParameterSet& params_;
};

}  // namespace q93
