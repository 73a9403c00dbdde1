#include "TextPosition.h"

#include <charconv>

std::string TextPositionText(const TextPosition& place) {
    return std::to_string(place.Chunk) + "," + std::to_string(place.Offset);
}

std::optional<TextPosition> ParseTextPosition(std::string_view text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos)
        return std::nullopt;
    TextPosition place;
    const char* end = text.data() + comma;
    auto [chunkEnd, chunkError] = std::from_chars(text.data(), end, place.Chunk);
    if (chunkError != std::errc() || chunkEnd != end || place.Chunk < 1)
        return std::nullopt;
    const char* last = text.data() + text.size();
    auto [offsetEnd, offsetError] = std::from_chars(end + 1, last, place.Offset);
    if (offsetError != std::errc() || offsetEnd != last)
        return std::nullopt;
    return place;
}
