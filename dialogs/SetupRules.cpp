#include "SetupRules.h"

#include <charconv>

std::optional<int> ParseInteger(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

BoundsCheck CheckBounds(const std::array<std::string, 4>& texts) {
    struct Range {
        int Low, High;
        const char* Why;
    };
    static constexpr char PlaceWhy[] = "书本位置必须在-32767到32767之间。";
    static constexpr std::array<Range, 4> ranges{
        {{-MaxBookCoordinate, MaxBookCoordinate, PlaceWhy},
         {-MaxBookCoordinate, MaxBookCoordinate, PlaceWhy},
         {MinSetupBookWidth, MaxBookCoordinate, "书本宽度必须在126到32767之间。"},
         {MinSetupBookHeight, MaxBookCoordinate, "书本高度必须在79到32767之间。"}}};
    std::array<int, 4> values{};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::optional<int> value = ParseInteger(texts[i]);
        if (!value)
            return {static_cast<BoundsField>(i), {}, {}};
        if (*value < ranges[i].Low || *value > ranges[i].High)
            return {static_cast<BoundsField>(i), ranges[i].Why, {}};
        values[i] = *value;
    }
    return {std::nullopt, {}, {values[0], values[1], values[2], values[3]}};
}

std::string NormalizePagePosition(std::string_view stored, int pageNumber) {
    std::string position = pageNumber == 1 ? "12" : "32";
    if (!stored.empty() && stored[0] >= '1' && stored[0] <= '3')
        position[0] = stored[0];
    if (stored.size() >= 2 && (stored[1] == '1' || stored[1] == '2'))
        position[1] = stored[1];
    return position;
}

void MarkChanged(ChangeFlags& flags, SetupGroup group) {
    switch (group) {
    case SetupGroup::Max:
        flags.MaxChanged = true;
        break;
    case SetupGroup::Window:
        flags.WindowChanged = true;
        break;
    case SetupGroup::Page:
        flags.PageChanged = true;
        break;
    case SetupGroup::Ye:
        flags.YeChanged = true;
        break;
    case SetupGroup::PageDo:
        flags.PageDoChanged = true;
        break;
    case SetupGroup::Image:
        flags.ImageChanged = true;
        break;
    case SetupGroup::None:
        break;
    }
}
