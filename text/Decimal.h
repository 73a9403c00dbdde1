#pragma once
// Numbers typed into the small dialogs, read as the reader means them: a decimal integer with
// spaces around it and a sign allowed, never overflowing.
#include <optional>
#include <string_view>

// The text as a decimal integer, or nothing when it is not one. A number beyond the range of
// int reads as the nearest int.
std::optional<int> ParseDecimal(std::string_view text);

// One step of a number field's arrows or arrow keys: the text's number (0 when it is not a
// number) plus `delta`, kept within 1 to `count` (a page count, a count of entries).
int StepDecimal(std::string_view text, int delta, int count);
