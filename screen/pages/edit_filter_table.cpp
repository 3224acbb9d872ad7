#include "screen/pages/edit_filter_table.h"

#include <QLineEdit>

#include "screen/pages/page_helpers.h"

namespace q93 {

void ApplyEditFilters(const PropertyPage& page, std::span<const EditFilter> filters) {
    for (const EditFilter& filter : filters) {
        SetEditFilter(page.controlAs<QLineEdit>(filter.id), filter.chars, filter.maxLength);
    }
}

}  // namespace q93
