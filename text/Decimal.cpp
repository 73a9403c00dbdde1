#include "Decimal.h"

#include <algorithm>
#include <climits>
#include <cstdint>

std::optional<int> ParseDecimal(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return std::nullopt;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    // Accumulated as a 64-bit value that stops growing just past the int range.
    constexpr std::int64_t Cap = std::int64_t(INT_MAX) + 2;
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = std::min(Cap, value * 10 + (c - '0'));
    }
    if (negative)
        value = -value;
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

int StepDecimal(std::string_view text, int delta, int count) {
    const std::int64_t n = std::int64_t(ParseDecimal(text).value_or(0)) + delta;
    return static_cast<int>(std::clamp<std::int64_t>(n, 1, std::max(1, count)));
}
