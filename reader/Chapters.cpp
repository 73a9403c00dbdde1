#include "Chapters.h"

#include "text/Gb2Big5.h"

#include <algorithm>

TextCode ShownTextCode(const std::vector<Chunk>& shown) {
    return !shown.empty() && IsBig5Text(*shown.front()) ? TextCode::Big5 : TextCode::Gb;
}

ChapterList FindDocumentChapters(const std::vector<Chunk>& shown, TextCode code,
                                 std::string_view userPattern) {
    std::optional<ChapterFinder> finder =
        userPattern.empty() ? ChapterFinder(code) : ChapterFinder::ForPattern(code, userPattern);
    if (!finder)
        return {{}, false};
    for (const Chunk& chunk : shown) {
        finder->Feed(*chunk);
        chunk->LetGo();
    }
    std::vector<Chapter> chapters = finder->Finish();
    return {std::move(chapters), true, finder->FoundHeadings()};
}

std::string ChapterTitle(const std::vector<Chunk>& shown, const Chapter& chapter) {
    std::string title;
    const ChunkPlace at = PlaceOfOffset(shown, chapter.Offset);
    for (std::size_t k = at.Chunk - 1; k < shown.size() && title.size() < chapter.Length; ++k) {
        const std::string_view text = *shown[k];
        const std::size_t from = k + 1 == static_cast<std::size_t>(at.Chunk) ? at.Offset : 0;
        title += text.substr(std::min(from, text.size()), chapter.Length - title.size());
    }
    return title;
}

ChunkPlace PlaceOfOffset(const std::vector<Chunk>& shown, std::uint64_t offset) {
    int k = 1;
    for (; k < static_cast<int>(shown.size()) && offset >= shown[k - 1]->size(); ++k)
        offset -= shown[k - 1]->size();
    return {k, static_cast<std::uint32_t>(offset)};
}

std::uint64_t OffsetOfPlace(const std::vector<Chunk>& shown, ChunkPlace place) {
    std::uint64_t offset = place.Offset;
    for (int k = 1; k < place.Chunk && k <= static_cast<int>(shown.size()); ++k)
        offset += shown[k - 1]->size();
    return offset;
}

int ChapterAt(const std::vector<Chapter>& chapters, std::uint64_t offset) {
    const auto after =
        std::upper_bound(chapters.begin(), chapters.end(), offset,
                         [](std::uint64_t at, const Chapter& c) { return at < c.Offset; });
    return static_cast<int>(after - chapters.begin()) - 1;
}
