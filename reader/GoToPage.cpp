#include "GoToPage.h"

#include "text/Decimal.h"

#include <algorithm>
#include <cstdint>

std::optional<int> ParsePageNumber(std::string_view text) {
    return ParseDecimal(text);
}

int StepPageNumber(std::string_view text, int delta, int pageCount) {
    const std::int64_t n = std::int64_t(ParsePageNumber(text).value_or(0)) + delta;
    return static_cast<int>(std::clamp<std::int64_t>(n, 1, std::max(1, pageCount)));
}
