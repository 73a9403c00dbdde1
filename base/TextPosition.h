#pragma once
// A place in the shown text of a document: a chunk (1-based) and a byte offset inside it. Unlike
// a page number it names text, so it stays valid when the book is paginated again at another
// size, in another font or with other spacing.
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct TextPosition {
    int Chunk = 1;
    std::uint32_t Offset = 0;

    auto operator<=>(const TextPosition&) const = default;
};

// "chunk,offset", as the records store a position beside a page value.
std::string TextPositionText(const TextPosition& place);
// The position a stored text names; nothing for an empty or malformed text.
std::optional<TextPosition> ParseTextPosition(std::string_view text);
