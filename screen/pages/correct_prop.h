#pragma once

#include <array>

#include "screen/pages/property_page.h"

namespace q93 {

class PageOwner;
struct ParameterSet;

// The Correction values device page, shown only while setup.txt exists: the 20
// correctionValues as a two-column list, each edited in a small dialog on double click.
// The list text is the working copy until the page is stored.
class CorrectProp : public PropertyPage {
    Q_OBJECT

public:
    CorrectProp(PageOwner* owner, ParameterSet& params, QWidget* parent = nullptr);

    void LoadFromParams() override;
    bool StoreToParams() override;

protected:
    void InitDialog() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr int kValueCount = 20;

    void editSelectedRow();

    // What the rows were loaded from: a row that still shows its loaded text stores this
    // exact value, not the nine decimals it shows.
    std::array<double, kValueCount> loaded_{};
    ParameterSet& params_;
};

}  // namespace q93
