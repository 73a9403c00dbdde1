#include "OpenBook.h"

#include "SaveText.h"
#include "TextPasses.h"

#include <algorithm>
#include <limits>

namespace {

// An offset of a text of `from` bytes carried to the text of `to` bytes the same pass made from
// it: unchanged when the pass kept the length, else in proportion, rounded to the nearest byte.
std::uint32_t Carry(std::uint32_t offset, std::size_t from, std::size_t to) {
    if (from == to)
        return offset;
    if (from == 0)
        return 0;
    const std::uint64_t scaled = (std::uint64_t(offset) * to + from / 2) / from;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(scaled, to));
}

TextOptions HelpTextOptions(TextOptions options) {
    options.ConvertBig5 = options.ConvertGb = false;
    options.ProcessHtml = options.SmartParagraphs = false;
    return options;
}

} // namespace

OpenBook::OpenBook(ProgressWindow& progress) : Progress(progress) {
    Store.SetChunks({});
}

void OpenBook::Open(std::string name, std::vector<Chunk> chunks, const TextOptions& options,
                    const TextPosition& place) {
    Store.SetChunks(std::move(chunks));
    Store.DocumentName = std::move(name);
    Passes = options;
    Init_Text(Store, Progress);
    ::Init_Page_Do(Store, Passes, Progress);
    ReadFrom(Holds(place) ? place : TextPosition{});
}

void OpenBook::OpenHelpText(std::string_view text, const TextOptions& options) {
    Store.SetHelpText(text);
    Passes = HelpTextOptions(options);
    ReadFrom({});
}

// A new text: no pattern of its own, no chapters yet.
void OpenBook::ReadFrom(const TextPosition& place) {
    UserPattern.clear();
    TextChanged();
    Anchor = place;
    UnderlineAnchor.reset();
    Store.PageCount = 0;
    Init_Page();
}

void OpenBook::SetOptions(const TextOptions& options) {
    const TextOptions wanted = HasDocument() ? options : HelpTextOptions(options);
    if (wanted == Passes)
        return;
    Passes = wanted;
    Init_Page_Do();
    Init_Page();
}

void OpenBook::SetPageFormat(const PageFormat& format, CharWidthCache& widths) {
    if (Widths == &widths && format == Format && Paginated())
        return;
    Format = format;
    Widths = &widths;
    Init_Page();
}

// The passes start again from the raw chunks. The place goes through them chunk by chunk: from
// the old shown text back to the raw text, then forward into the new shown text.
void OpenBook::Init_Page_Do() {
    std::vector<std::size_t> oldSizes;
    for (const Chunk& chunk : Store.ShownChunk)
        oldSizes.push_back(chunk->size());
    auto toRaw = [&](TextPosition& place) {
        place = Clamped(place);
        place.Offset =
            Carry(place.Offset, oldSizes[place.Chunk - 1], Store.RawChunk[place.Chunk - 1]->size());
    };
    toRaw(Anchor);
    if (UnderlineAnchor)
        toRaw(*UnderlineAnchor);
    ::Init_Page_Do(Store, Passes, Progress);
    auto toShown = [&](TextPosition& place) {
        const std::size_t raw = Store.RawChunk[place.Chunk - 1]->size();
        place.Offset = Carry(place.Offset, raw, ChunkSize(place.Chunk));
    };
    toShown(Anchor);
    if (UnderlineAnchor)
        toShown(*UnderlineAnchor);
    TextChanged();
}

// Wraps the shown chunks at the page format, then shows the pair that holds the place and
// puts the underline back under its character. When that character has moved past the pair
// (smaller pages), the underline's pair is shown instead: it is where the reader is reading.
// Chunks past what those pairs need wait for FinishPagination.
void OpenBook::Init_Page() {
    if (!Widths)
        return;
    Shown.HeadRoom = WantedHeadRoom();
    // A member, not a copy: a resize handled while the progress window lets events through
    // wraps again with the newest format, and the wrapping it interrupted reads that one too.
    PagedFormat = Format;
    PagedFormat.PageHeight -= Shown.HeadRoom;
    const std::optional<TextPosition> underlined = UnderlineAnchor;
    int through = Clamped(Anchor).Chunk;
    if (underlined)
        through = std::max(through, Clamped(*underlined).Chunk);
    Store.Paginate(PagedFormat, *Widths, Progress, through);
    ShowPairOf(Anchor);
    UnderlineAt = {false, 1};
    if (underlined) {
        if (!PairHolds(*underlined))
            ShowPairOf(*underlined);
        const int row = LineOf(*underlined) - Store.FirstLine;
        const bool right = row > Store.LinesPerPage;
        UnderlineAt = {right, right ? row - Store.LinesPerPage : row};
        UnderlineAnchor = underlined;
    }
    Shown.Underline = UnderlineAt;
}

// The pair whose pages hold `place`, which lies in a wrapped chunk, with the chunks after it
// that the pair runs into wrapped too.
void OpenBook::ShowPairOf(const TextPosition& place) {
    const int page = PageHolding(place);
    Store.CurrentPage = page - (page % 2 == 0 ? 1 : 0);
    Store.WrapMore(PagedFormat, *Widths, Progress, (Store.CurrentPage + 1) * Store.LinesPerPage);
    Init_Page_String();
}

void OpenBook::FinishPagination() {
    if (!Widths || Store.AllWrapped())
        return;
    Store.WrapMore(PagedFormat, *Widths, Progress);
    Shown.PageCount = Store.PageCount;
}

void OpenBook::GoToPage(int n) {
    FinishPagination();
    if (!Paginated())
        return;
    ChangeYe(n);
    Anchor = PairStart();
}

bool OpenBook::GoTo(const TextPosition& place) {
    FinishPagination();
    if (!Holds(place) || !Paginated())
        return false;
    ChangeYe(PageHolding(place));
    Anchor = place;
    return true;
}

void OpenBook::ChangeYe(int n) {
    Store.GoToPage(n);
    Init_Page_String();
    UnderlineAt = {false, 1};
    UnderlineAnchor.reset();
    Shown.Underline = UnderlineAt;
}

void OpenBook::Init_Page_String() {
    Shown.Pages = CutPagePair(Store, Format.DoubleSpacing);
    Shown.LeftPage = Store.CurrentPage;
    Shown.PageCount = Store.AllWrapped() ? Store.PageCount : 0;
    Shown.RightPage = Store.CurrentPage + 1 <= Store.PageCount;
    Shown.RunningHead = Shown.HeadRoom > 0 ? HeadOfPair() : std::string();
}

void OpenBook::MoveUnderline(int delta, bool autoPageTurn, bool showUnderline) {
    FinishPagination();
    if (!Paginated())
        return;
    const UnderlineContext book{Store.CurrentPage, Store.PageCount, Store.LinesPerPage,
                                autoPageTurn, showUnderline};
    const UnderlineStep step = ::MoveUnderLine(UnderlineAt, delta, book);
    if (step.Turn == PageTurn::Previous)
        PreviousPair();
    else if (step.Turn == PageTurn::Next)
        NextPair();
    PutUnderline(step.Place);
}

void OpenBook::PutUnderline(const UnderlinePlace& place) {
    FinishPagination();
    UnderlineAt = place;
    Shown.Underline = place;
    if (place.RightPage || place.Line != 1)
        UnderlineAnchor = UnderlinedStart();
    else
        UnderlineAnchor.reset();
}

PageEdit OpenBook::BeginEdit() {
    FinishPagination();
    return PageEdit::Begin(Store);
}

// The edit changes text only from the pair's first line on, so the place, which is that line's
// start, still names the same text afterwards.
std::optional<std::string> OpenBook::ApplyEdit(const PageEdit& edit, std::u16string_view left,
                                               std::u16string_view right) {
    FinishPagination();
    if (std::optional<std::string> refusal = edit.Save(Store, left, right))
        return refusal;
    UnderlineAnchor.reset();
    TextChanged();
    Init_Page();
    return std::nullopt;
}

std::optional<SearchHit> OpenBook::Search(std::string_view pattern, bool matchCase,
                                          bool underlineShown) {
    FinishPagination();
    if (!Paginated())
        return std::nullopt;
    const SearchStart start{underlineShown, UnderlineAt.RightPage, UnderlineAt.Line};
    const std::optional<SearchHit> hit = ::DoSearch(Store, pattern, matchCase, start);
    if (hit) {
        GoToPage(hit->Page);
        PutUnderline({hit->Page % 2 == 0, hit->LineInPage});
    }
    return hit;
}

bool OpenBook::SearchPrevious(std::string_view pattern, bool matchCase, bool underlineShown) {
    FinishPagination();
    if (!Paginated())
        return false;
    const TextPosition before = underlineShown ? UnderlinedStart() : PairStart();
    const std::optional<ChunkPlace> hit =
        FindPrevious(Store.ShownChunk, pattern, matchCase, {before.Chunk, before.Offset});
    return hit && GoToUnderlined({hit->Chunk, hit->Offset});
}

std::optional<UserMessage> OpenBook::SaveText(const std::string& path) {
    // A file that cannot be replaced is written in place, under the chunks that view it.
    Store.OwnChunksOfFile(path);
    return SaveDocumentText(Store, path, Progress);
}

std::uint32_t OpenBook::ChunkSize(int k) const {
    return static_cast<std::uint32_t>(Store.ShownChunk[k - 1]->size());
}

bool OpenBook::Holds(const TextPosition& place) const {
    return place.Chunk >= 1 && place.Chunk <= Store.ChunkCount &&
           place.Offset <= ChunkSize(place.Chunk);
}

TextPosition OpenBook::Clamped(TextPosition place) const {
    place.Chunk = std::clamp(place.Chunk, 1, Store.ChunkCount);
    place.Offset = std::min(place.Offset, ChunkSize(place.Chunk));
    return place;
}

// The 1-based document line that holds `place`. Lines are counted from chunk 1 rather than
// through the lookup cursor: it costs a step per chunk, at most 89.
int OpenBook::LineOf(const TextPosition& place) const {
    const TextPosition at = Clamped(place);
    int before = 0;
    for (int k = 1; k < at.Chunk; ++k)
        before += Store.MemoChunk[k - 1].LineCount();
    return before + Store.MemoChunk[at.Chunk - 1].LineOfOffset(at.Offset) + 1;
}

int OpenBook::PageOf(const TextPosition& place) {
    FinishPagination();
    return PageHolding(place);
}

int OpenBook::PageHolding(const TextPosition& place) const {
    if (Store.LinesPerPage < 1)
        return 1;
    return std::clamp((LineOf(place) - 1) / Store.LinesPerPage + 1, 1,
                      std::max(1, Store.PageCount));
}

bool OpenBook::OnShownPair(const TextPosition& place) {
    FinishPagination();
    return PairHolds(place);
}

bool OpenBook::PairHolds(const TextPosition& place) const {
    if (!Paginated() || !Holds(place))
        return false;
    const int g = LineOf(place);
    return g > Store.FirstLine && g <= Store.FirstLine + 2 * Store.LinesPerPage;
}

// The start of document line g; a line past the end is the end of the text.
TextPosition OpenBook::LineStart(int g) {
    const DocumentStore::LineRef ref = Store.LineAt(std::max(g, 1));
    return {ref.Chunk, Store.MemoChunk[ref.Chunk - 1].LineStart(ref.Index)};
}

TextPosition OpenBook::UnderlinedStart() {
    const int row = UnderlineAt.Line + (UnderlineAt.RightPage ? Store.LinesPerPage : 0);
    return LineStart(Store.FirstLine + row);
}

AutoReadBook OpenBook::AutoReadView() {
    FinishPagination();
    AutoReadBook book{Store.CurrentPage, Store.PageCount, Store.LinesPerPage, Store.TotalLines, {}};
    book.LineChars = [this](int page, int line) {
        const int g = (page - 1) * Store.LinesPerPage + line;
        return g >= 1 && g <= Store.TotalLines ? ReadingChars(Store.LineText(g)) : 0;
    };
    return book;
}

void OpenBook::TextChanged() {
    Toc.reset();
}

const std::vector<Chapter>& OpenBook::Chapters() {
    if (!Toc)
        Toc = FindDocumentChapters(Store.ShownChunk, ShownTextCode(Store.ShownChunk), UserPattern);
    return Toc->Chapters;
}

bool OpenBook::HasHeadings() {
    return !Chapters().empty() && Toc->Headings;
}

std::string OpenBook::ChapterCaption(int i) {
    const std::vector<Chapter>& list = Chapters();
    if (i < 0 || i >= static_cast<int>(list.size()))
        return {};
    return chapters::TextToUtf8(::ChapterTitle(Store.ShownChunk, list[i]),
                                ShownTextCode(Store.ShownChunk));
}

// The underlined line is where the reader reads; without it, the place the last move set.
std::uint64_t OpenBook::ReadingOffset() {
    const TextPosition at = Clamped(UnderlineAnchor.value_or(Anchor));
    return OffsetOfPlace(Store.ShownChunk, {at.Chunk, at.Offset});
}

int OpenBook::CurrentChapter() {
    return ChapterAt(Chapters(), ReadingOffset());
}

TextPosition OpenBook::ChapterStart(int i) {
    const ChunkPlace at = PlaceOfOffset(Store.ShownChunk, Chapters()[i].Offset);
    return {at.Chunk, at.Offset};
}

bool OpenBook::GoToChapter(int i) {
    if (i < 0 || i >= static_cast<int>(Chapters().size()))
        return false;
    return GoToUnderlined(ChapterStart(i));
}

bool OpenBook::GoToUnderlined(const TextPosition& place) {
    if (!GoTo(place))
        return false;
    const int row = LineOf(place) - Store.FirstLine;
    const bool right = row > Store.LinesPerPage;
    PutUnderline({right, right ? row - Store.LinesPerPage : row});
    return true;
}

bool OpenBook::NextChapter() {
    return GoToChapter(CurrentChapter() + 1);
}

bool OpenBook::PreviousChapter() {
    const int current = CurrentChapter();
    if (current >= 0 && !OnShownPair(ChapterStart(current)))
        return GoToChapter(current);
    return GoToChapter(current - 1);
}

bool OpenBook::SetChapterPattern(const std::string& utf8) {
    if (utf8 == UserPattern)
        return true;
    const TextCode code = ShownTextCode(Store.ShownChunk);
    if (!utf8.empty() && !ChapterFinder::ForPattern(code, utf8))
        return false;
    UserPattern = utf8;
    TextChanged();
    HeadRoomMayChange();
    return true;
}

void OpenBook::SetRunningHead(bool wanted, int height) {
    if (wanted == RunningHeadWanted && height == HeadHeight)
        return;
    RunningHeadWanted = wanted;
    HeadHeight = height;
    HeadRoomMayChange();
}

// Another room for the head paginates again; the same room only redraws the head.
void OpenBook::HeadRoomMayChange() {
    if (!Paginated())
        return;
    if (WantedHeadRoom() != Shown.HeadRoom)
        Init_Page();
    else
        Init_Page_String();
}

int OpenBook::WantedHeadRoom() {
    if (!RunningHeadWanted || HeadHeight <= 0 || !HasDocument() || !HasHeadings())
        return 0;
    return std::min(HeadHeight, Format.PageHeight / 2);
}

std::string OpenBook::HeadOfPair() {
    const TextPosition start = PairStart();
    const std::vector<Chapter>& list = Chapters();
    const int i = ChapterAt(list, OffsetOfPlace(Store.ShownChunk, {start.Chunk, start.Offset}));
    return i < 0 ? std::string() : ::ChapterTitle(Store.ShownChunk, list[i]);
}
