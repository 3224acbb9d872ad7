#include "protocol/settings_number_check.h"

#include <cmath>
#include <cstddef>

#include "protocol/number_format.h"

namespace q93 {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

bool IsSensitivityNumber(std::string_view text) {
    std::size_t consumed = 0;
    const double value = ParseDecimalPrefix(text, &consumed);
    // A number beyond what a double holds would be stored as infinity and wreck every
    // unit conversion that uses the sensitivity: refused like any other non-number.
    if (!std::isfinite(value))
        return false;

    std::size_t first = 0;
    while (first < text.size() && isBlank(text[first]))
        ++first;
    if (value == 0 && (first == text.size() || text[first] != '0'))
        return false;

    for (std::size_t pos = consumed; pos < text.size(); ++pos) {
        if (!isBlank(text[pos]))
            return false;
    }
    return true;
}

}  // namespace q93
