#include "cli/range_refusal.h"

#include <cstdio>

namespace q93::ctl {

bool maySend(const std::string& source, const std::vector<RangeViolation>& fields, bool force) {
    if (fields.empty())
        return true;
    std::string text = "q93ctl: " + source + ": values no page of the tool gives";
    text += force ? ", sent as --force asks:\n" : "; nothing was sent:\n";
    for (const RangeViolation& field : fields)
        text += "  " + field.text() + "\n";
    if (!force)
        text += "(q93ctl show FILE prints every field; --force sends them anyway)\n";
    std::fputs(text.c_str(), stderr);
    return force;
}

std::string fieldWords(const std::vector<RangeViolation>& fields) {
    std::string words;
    for (const RangeViolation& field : fields)
        words += (words.empty() ? "" : " ") + field.field + "=" + field.value;
    return words;
}

}  // namespace q93::ctl
