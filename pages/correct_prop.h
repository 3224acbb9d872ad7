#pragma once

#include "pages/property_page.h"

namespace q93 {

class PageOwner;

// The Correction values device page, shown only while setup.txt exists: the 20
// correctionValues as a two-column list, each edited in a small dialog on double click.
// The list text is the working copy until the page is stored.
class CorrectProp : public PropertyPage {
    Q_OBJECT

public:
    explicit CorrectProp(PageOwner* owner, QWidget* parent = nullptr);

    void LoadFromParams() override;
    bool StoreToParams() override;

protected:
    void InitDialog() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void editSelectedRow();
};

}  // namespace q93
