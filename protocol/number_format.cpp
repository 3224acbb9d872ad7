#include "protocol/number_format.h"

#include <locale.h>
#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace q93 {
namespace {

// The pages read the same amount of text from a control as the encoder's tool always did.
constexpr std::size_t kMaxTextLength = 254;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t skipBlanks(std::string_view text, std::size_t i) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    return i;
}

std::size_t skipDigits(std::string_view text, std::size_t i) {
    while (i < text.size() && isDigit(text[i])) {
        ++i;
    }
    return i;
}

// End of the number that starts at `begin`, or `begin` when there is none.
std::size_t numberEnd(std::string_view text, std::size_t begin) {
    std::size_t i = begin;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        ++i;
    }
    const std::size_t intStart = i;
    i = skipDigits(text, i);
    bool digits = i > intStart;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fracStart = i + 1;
        const std::size_t fracEnd = skipDigits(text, fracStart);
        if (digits || fracEnd > fracStart) {
            digits = true;
            i = fracEnd;
        }
    }
    if (!digits) {
        return begin;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t e = i + 1;
        if (e < text.size() && (text[e] == '-' || text[e] == '+')) {
            ++e;
        }
        const std::size_t expEnd = skipDigits(text, e);
        if (expEnd > e) {
            i = expEnd;
        }
    }
    return i;
}

}  // namespace

std::string FormatFixed(double value, int decimals) {
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::fixed, std::max(decimals, 0));
    if (result.ec != std::errc()) {
        return "0";
    }
    return std::string(buffer, result.ptr);
}

double ParseDecimalPrefix(std::string_view text, std::size_t* consumed) {
    const std::size_t begin = skipBlanks(text, 0);
    const std::size_t end = numberEnd(text, begin);
    if (consumed != nullptr) {
        *consumed = end > begin ? end : 0;
    }
    if (end == begin) {
        return 0;
    }
    std::size_t start = begin;
    if (text[start] == '+') {
        ++start;  // from_chars takes a minus sign only
    }
    double value = 0;
    const auto result = std::from_chars(text.data() + start, text.data() + end, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Only an exponent can leave the double range here: a negative one reads as zero,
        // a positive one as infinity, as strtod gives them.
        const std::string_view number = text.substr(start, end - start);
        const bool tiny = number.find("e-") != std::string_view::npos ||
                          number.find("E-") != std::string_view::npos;
        const double magnitude = tiny ? 0.0 : HUGE_VAL;
        return number.front() == '-' ? -magnitude : magnitude;
    }
    return value;
}

double StandardDecimal(std::string_view text) {
    // Qt switches the process to the system's locale, whose decimal separator may be a comma.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    const std::string terminated(text);
    return strtod_l(terminated.c_str(), nullptr, cLocale);
}

double ParseNumber(std::string_view text) {
    std::string copy(text.substr(0, kMaxTextLength));
    std::replace(copy.begin(), copy.end(), ',', '.');
    return StandardDecimal(copy);
}

double ParseRounded(std::string_view text, int decimals) {
    return StandardDecimal(FormatFixed(ParseNumber(text), decimals));
}

int ParseInteger(std::string_view text) {
    text = text.substr(0, kMaxTextLength);
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' ||
                               text[i] == '\r' || text[i] == '\v' || text[i] == '\f')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        value = std::min<long long>(value * 10 + (text[i] - '0'), 1LL + INT_MAX);
    }
    value = negative ? -value : value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

std::string FormatInteger(int value) {
    return std::to_string(value);
}

}  // namespace q93
