#pragma once

#include <span>

#include "screen/pages/property_page.h"

namespace q93 {

// One numeric edit of a page: which characters may be typed and how many.
struct EditFilter {
    int id;
    const char* chars;
    int maxLength;
};

// Sets every row of the table on the page's edits; run from InitDialog.
void ApplyEditFilters(const PropertyPage& page, std::span<const EditFilter> filters);

}  // namespace q93
