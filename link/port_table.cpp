#include "link/port_table.h"

#include <string>

namespace q93 {
namespace {

struct NameRange {
    int first;
    int last;
    std::size_t compared;  // characters of the name that take part
};

// Two-digit names before one-digit ones, so that "COM12" is not taken for COM1.
constexpr NameRange kNameRanges[] = {{10, 66, 5}, {1, 9, 4}};

}  // namespace

int portIndexForName(std::string_view name) {
    for (const NameRange& range : kNameRanges) {
        const std::string_view prefix = name.substr(0, range.compared);
        for (int number = range.first; number <= range.last; ++number) {
            if (prefix == "COM" + std::to_string(number))
                return number - 1;
        }
    }
    return kUnknownPortIndex;
}

}  // namespace q93
