#include "HitList.h"

#include "text/ChapterWords.h"

HitList::HitList(OpenBook& book, std::string_view pattern, bool matchCase) : Book(book) {
    if (pattern.empty())
        Next = Book.ChunkCount() + 1;
    else
        Scan = std::make_unique<HitScan>(Book.Document().ShownChunk, pattern, matchCase);
}

HitList::~HitList() = default;

bool HitList::Step(int chunks) {
    const DocumentStore& store = Book.Document();
    for (int n = 0; n < chunks && !Done(); ++n, ++Next) {
        Scan->Run(Next, 0, Next, [&](ChunkPlace hit) {
            Rows.push_back(RowOf(hit));
            Full = Rows.size() >= MaxRows;
            return Full;
        });
        LinesBefore += store.MemoChunk[Next - 1].LineCount();
    }
    return !Done();
}

HitRow HitList::RowOf(ChunkPlace hit) {
    const DocumentStore& store = Book.Document();
    const WrappedText& lines = store.MemoChunk[hit.Chunk - 1];
    const int line = lines.LineOfOffset(hit.Offset);
    HitRow row;
    row.Hit = hit;
    row.Page = store.LinesPerPage > 0 ? (LinesBefore + line) / store.LinesPerPage + 1 : 1;
    row.Chapter = ChapterAt(Book.Chapters(), OffsetOfPlace(store.ShownChunk, hit));
    std::string_view text = lines.LineText(*store.ShownChunk[hit.Chunk - 1], line);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
        text.remove_suffix(1);
    row.Context = std::string(text);
    return row;
}

std::string HitList::Caption(const HitRow& row) {
    std::string caption = "第" + std::to_string(row.Page) + "页  ";
    if (row.Chapter >= 0)
        caption += Book.ChapterCaption(row.Chapter) + "  ";
    std::string_view context = row.Context;
    while (!context.empty() && (context.front() == ' ' || context.front() == '\t'))
        context.remove_prefix(1);
    return caption + chapters::TextToUtf8(context, ShownTextCode(Book.Document().ShownChunk));
}

std::string HitList::Status() const {
    const std::string count = std::to_string(Rows.size());
    if (!Done())
        return "正在查找，已找到 " + count + " 处……";
    if (Full)
        return "找到的太多，只列出了前 " + count + " 处。";
    return Rows.empty() ? "没有查找到。" : "共找到 " + count + " 处。";
}
