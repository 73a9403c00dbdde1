#pragma once
// The page number typed into the go-to-page pop-up, read without overflow.
#include <optional>
#include <string_view>

// The text as a decimal integer (spaces around it and a sign allowed), or nothing when it is not
// one. A number beyond the range of int reads as the nearest int; the page change clamps it to
// the document anyway.
std::optional<int> ParsePageNumber(std::string_view text);
