#include "Search.h"

#include "text/GbkText.h"

namespace {

// The lines of the chunks before chunk k.
int LinesBefore(const DocumentStore& store, int k) {
    int lines = 0;
    for (int j = 1; j < k; ++j)
        lines += store.MemoChunk[j - 1].LineCount();
    return lines;
}

SearchHit PlaceAfter(const DocumentStore& store, ChunkPlace hit, int linesBefore) {
    const int perPage = store.LinesPerPage;
    const int line = linesBefore + store.MemoChunk[hit.Chunk - 1].LineOfOffset(hit.Offset) + 1;
    const int page = (line + perPage - 1) / perPage;
    return {page, line - (page - 1) * perPage};
}

// Whether a hit lies after the underline: on a later pair, or on the shown pair below the
// underline (on the right page when the underline is on the right page).
bool IsNew(const SearchHit& hit, int currentPage, const SearchStart& start) {
    if (hit.Page > currentPage + 1)
        return true;
    if (hit.Page < currentPage)
        return false;
    const bool rightPage = hit.Page % 2 == 0;
    if (!start.UnderlineShown)
        return true;
    const bool below = hit.LineInPage > start.UnderlineLine;
    return start.UnderlineOnRightPage ? rightPage && below : rightPage || below;
}

} // namespace

std::optional<std::string> SearchBytes(std::string_view utf8) {
    if (!gbk::IsValidUtf8(utf8))
        return std::nullopt;
    return gbk::FromUtf8(utf8);
}

std::optional<SearchHit> DoSearch(DocumentStore& store, std::string_view pattern, bool matchCase,
                                  const SearchStart& start) {
    if (pattern.empty() || store.ChunkCount < 1 || store.LinesPerPage < 1)
        return std::nullopt;
    // Begin with the chunk that holds the pair's first line, so that a pair spanning two
    // chunks is searched from its top.
    const DocumentStore::LineRef first =
        store.LineAt((store.CurrentPage - 1) * store.LinesPerPage + 1);
    int chunk = first.Chunk;
    int linesBefore = LinesBefore(store, chunk);
    std::optional<SearchHit> found;
    HitScan(store.ShownChunk, pattern, matchCase)
        .Run(first.Chunk, store.MemoChunk[first.Chunk - 1].LineStart(first.Index), store.ChunkCount,
             [&](ChunkPlace hit) {
                 for (; chunk < hit.Chunk; ++chunk)
                     linesBefore += store.MemoChunk[chunk - 1].LineCount();
                 const SearchHit place = PlaceAfter(store, hit, linesBefore);
                 if (IsNew(place, store.CurrentPage, start))
                     found = place;
                 return found.has_value();
             });
    return found;
}

std::vector<ChunkPlace> FindAll(const std::vector<Chunk>& chunks, std::string_view pattern,
                                bool matchCase) {
    std::vector<ChunkPlace> hits;
    if (pattern.empty() || chunks.empty())
        return hits;
    HitScan(chunks, pattern, matchCase)
        .Run(1, 0, static_cast<int>(chunks.size()), [&](ChunkPlace hit) {
            hits.push_back(hit);
            return false;
        });
    return hits;
}

std::optional<ChunkPlace> FindPrevious(const std::vector<Chunk>& chunks, std::string_view pattern,
                                       bool matchCase, ChunkPlace before) {
    if (pattern.empty() || chunks.empty())
        return std::nullopt;
    HitScan scan(chunks, pattern, matchCase);
    std::optional<ChunkPlace> last;
    for (int k = std::min(before.Chunk, static_cast<int>(chunks.size())); k >= 1 && !last; --k)
        scan.Run(k, 0, k, [&](ChunkPlace hit) {
            if (hit >= before)
                return true;
            last = hit;
            return false;
        });
    return last;
}

SearchHit PlaceOfHit(const DocumentStore& store, ChunkPlace hit) {
    return PlaceAfter(store, hit, LinesBefore(store, hit.Chunk));
}

UserMessage NotFoundMessage(std::string_view utf8, bool matchCase) {
    std::string shown(utf8);
    // UTF-8 never uses bytes below 0x80 inside a character, so folding bytes folds letters only.
    if (!matchCase)
        for (char& c : shown)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    return InfoMessage("没有查找到 “" + shown + "”。");
}
