#pragma once

#include "pages/property_page.h"

namespace q93 {

// The page of a site or the root: an empty frame, no parameters.
class LocationProp : public PropertyPage {
    Q_OBJECT

public:
    explicit LocationProp(QWidget* parent = nullptr);

    bool hasParameters() const override { return false; }
};

}  // namespace q93
