#pragma once
// "查找全部": every hit of a search text in the shown document, with its page, its chapter and
// the display line that holds it, found a few chunks at a time so that the book stays
// responsive while a long novel is searched. The book must not change while a list is built.
#include "OpenBook.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct HitRow {
    ChunkPlace Hit;
    int Page = 1;
    int Chapter = -1;    // the chapter that holds it; -1 before the first heading
    std::string Context; // the display line that holds the hit's first byte (shown-text bytes)
};

class HitList {
public:
    // More hits than this are not listed: the list says so.
    static constexpr std::size_t MaxRows = 10000;

    // `pattern` is the search text as the document's bytes; the book outlives the list.
    HitList(OpenBook& book, std::string_view pattern, bool matchCase);
    ~HitList();

    // Searches the next `chunks` chunks; false once the whole text has been searched.
    bool Step(int chunks);
    bool Done() const { return Next > Book.ChunkCount() || Full; }
    // Whether the list stopped at MaxRows (there may be more hits).
    bool Cut() const { return Full; }
    // A row as the list shows it (UTF-8): "第12页  第五回 ...  the line".
    std::string Caption(const HitRow& row);
    // How far the search is (UTF-8).
    std::string Status() const;
    // The rows found so far, in text order.
    std::vector<HitRow> Rows;

private:
    HitRow RowOf(ChunkPlace hit);

    OpenBook& Book;
    std::unique_ptr<HitScan> Scan;
    int Next = 1;        // the next chunk to search
    int LinesBefore = 0; // the display lines of the chunks before Next
    bool Full = false;
};
