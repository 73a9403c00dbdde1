#include "GoToPage.h"

#include "text/Decimal.h"

std::optional<int> ParsePageNumber(std::string_view text) {
    return ParseDecimal(text);
}
