#pragma once
// The reading pipeline of the open document, behind one object. Its stages, each made from the
// one before:
//
//   raw chunks  --(Init_Text once, then Init_Page_Do)-->  shown chunks
//   shown chunks --(Init_Page: wrapping at the page format)--> line tables and page count
//   line tables --(ChangeYe / Init_Page_String)--> the shown page pair
//
// Every call states what it changes (the document, the text options, the page format, the
// place) and re-runs only the stages that change invalidates, always from a known state.
//
// The reader's place is a text position, not a page: the first character of the shown pair's
// first line, as the last move set it. Every re-pagination (another page size, font or
// spacing, leaving edit mode) shows the pair whose pages hold that position, and the reading
// underline stays on the line holding the character it was under. A change of the text itself
// (conversion, HTML clean-up, smart paragraphs) maps the position through the passes: exactly
// where a pass keeps the length of a chunk (the GB/BIG5 conversions), in proportion within the
// chunk where it does not (HTML clean-up, smart paragraphs).
//
// The object does no drawing and shows no message: Snapshot() is what to draw, and the
// operations that can fail hand back what the reader is to be told.
//
// A pagination wraps the chunks only as far as the pair it shows needs: through the place's chunk
// and those after it that the pair runs into. Its page numbers are exact, as pages are counted
// from the start; the rest of the book is wrapped by FinishPagination, which the window calls
// once the pair is on the screen and which every call that moves, edits, searches or reports a
// count or a page makes first. Only Snapshot() and what depends on the text alone can see the
// book before it is finished, and they give the same answers either way.
#include "AutoRead.h"
#include "Chapters.h"
#include "DocumentStore.h"
#include "Navigation.h"
#include "PageEdit.h"
#include "PagePair.h"
#include "ProgressWindow.h"
#include "Search.h"
#include "TextOptions.h"
#include "base/TextPosition.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the book window draws: the two pages, their numbers and the underline.
struct BookSnapshot {
    PagePairText Pages; // byte text, each line followed by CR LF (two with double spacing)
    int LeftPage = 1;   // the odd page on the left
    int PageCount = 1;  // 0 until the pages after the pair are counted (FinishPagination)
    bool RightPage = false; // whether the pair has a right page (and a right page number)
    UnderlinePlace Underline;
    // The title of the chapter the left page begins in (shown-text bytes), when the running
    // head is wanted and the page lies in a chapter.
    std::string RunningHead;
    // The height kept free above both pages' text for the running head: while it is wanted
    // and the document has headings (not for sections of a fixed size or the help text).
    int HeadRoom = 0;
};

class OpenBook {
public:
    // The progress window outlives the book.
    explicit OpenBook(ProgressWindow& progress);

    // --- What the pipeline is given ---

    // A document read from a file: `chunks` as read, `name` its recent-list text, `options` the
    // passes to run. Line ends are made CR LF, the passes run, and once a page format is known
    // the book shows the pair that holds `place` in the shown text, or pages 1-2 when the text
    // does not hold it.
    void Open(std::string name, std::vector<Chunk> chunks, const TextOptions& options,
              const TextPosition& place = {});
    // No document: the built-in help text, shown as written: of `options` the conversion and
    // filter switches are turned off (Options() tells), and they stay off for it.
    void OpenHelpText(std::string_view text, const TextOptions& options);
    // The switches of the text passes. A change re-runs the passes from the raw chunks and
    // paginates again, keeping the place. While the help text is shown the passes stay off.
    void SetOptions(const TextOptions& options);
    // The page size, spacing and the widths of the page font. `widths` must stay the same
    // object while the font is the same: another object means another font. A change wraps
    // the text again and shows the pair that holds the place.
    void SetPageFormat(const PageFormat& format, CharWidthCache& widths);
    // Wraps the chunks the last pagination left and counts every page; nothing when done.
    void FinishPagination();

    // --- Moving (each sets the place to the first line of the pair it shows) ---

    // ChangeYe: the pair that holds page n (clamped to the pages); the underline to line 1.
    void GoToPage(int n);
    // The pair whose pages hold `place`; false (and nothing moves) when the document does not.
    bool GoTo(const TextPosition& place);
    void NextPair() { GoToPage(CurrentPage() + 2); }
    void PreviousPair() { GoToPage(CurrentPage() - 2); }
    // Back to the page shown before the last move (Backspace).
    void GoBack() { GoToPage(PreviousPage()); }
    // One step of the underline, turning the pair at the ends of the pages.
    void MoveUnderline(int delta, bool autoPageTurn, bool showUnderline);
    // The underline under line `place.Line` of a page of the shown pair.
    void PutUnderline(const UnderlinePlace& place);

    // --- Chapters (of the shown text: found on first use after the text changed) ---

    const std::vector<Chapter>& Chapters();
    // Whether they are headings, not the sections of a text without any.
    bool HasHeadings();
    // The chapter's title as UTF-8, for lists.
    std::string ChapterCaption(int i);
    // The chapter that holds the place read now (the underlined line, else the pair's first
    // line); -1 before the first heading.
    int CurrentChapter();
    // The pair that holds chapter i's heading, the underline under it.
    bool GoToChapter(int i);
    // The next or the previous chapter from the place read now: back first goes to the start of
    // the current chapter when its heading is not on the shown pair.
    bool NextChapter();
    bool PreviousChapter();
    // The user's own pattern for this document (a UTF-8 regular expression; empty: the
    // built-in rules). False, and nothing changes, when it is no valid expression.
    bool SetChapterPattern(const std::string& utf8);
    const std::string& ChapterPattern() const { return UserPattern; }
    // Whether the snapshot carries the running head, and the height of its line. The pages
    // are paginated again, at the same place, when the room it takes changes.
    void SetRunningHead(bool wanted, int height);

    // --- Changing the text ---

    // Edit mode's sources: the exact bytes of the shown lines.
    PageEdit BeginEdit();
    // Puts the edited text back and paginates again at the same place. Nothing changes when
    // the edit is refused; the result is then the warning to show.
    std::optional<std::string> ApplyEdit(const PageEdit& edit, std::u16string_view left,
                                         std::u16string_view right);

    // --- Reading it ---

    // The first new hit after the underline (or from the pair's first line); its pair is shown
    // and the underline put under it.
    std::optional<SearchHit> Search(std::string_view pattern, bool matchCase, bool underlineShown);
    // The last hit before the underlined line (or the pair's first line), shown the same way.
    bool SearchPrevious(std::string_view pattern, bool matchCase, bool underlineShown);
    // The pair that holds `place`, the underline under its line.
    bool GoToUnderlined(const TextPosition& place);
    // Writes the shown text to `path`; what to tell the reader when that failed.
    std::optional<UserMessage> SaveText(const std::string& path);

    const std::string& DocumentName() const { return Store.DocumentName; }
    bool HasDocument() const { return !Store.DocumentName.empty(); }
    const TextOptions& Options() const { return Passes; }
    int CurrentPage() const { return Store.CurrentPage; }
    int PageCount() {
        FinishPagination();
        return Store.PageCount;
    }
    int PreviousPage() const { return Store.PreviousPage; }
    int LinesPerPage() const { return Store.LinesPerPage; }
    int ChunkCount() const { return Store.ChunkCount; }
    std::int64_t CharCount() const { return Store.CharCount; }
    // The place kept across re-paginations.
    const TextPosition& Place() const { return Anchor; }
    // Whether `place` lies in the document (its end included).
    bool Holds(const TextPosition& place) const;
    // Whether the shown pair's lines hold `place`.
    bool OnShownPair(const TextPosition& place);
    // The page that holds `place`.
    int PageOf(const TextPosition& place);
    const UnderlinePlace& Underline() const { return UnderlineAt; }
    const BookSnapshot& Snapshot() const { return Shown; }
    // The pages as auto reading walks them, valid until the book changes.
    AutoReadBook AutoReadView();
    // The store, wrapped whole, for reading (saving, statistics, tests).
    const DocumentStore& Document() {
        FinishPagination();
        return Store;
    }

private:
    void ReadFrom(const TextPosition& place);
    bool Paginated() const { return Widths != nullptr && Store.PageCount > 0; }
    void Init_Page_Do();
    void Init_Page();
    void ShowPairOf(const TextPosition& place);
    void ChangeYe(int n);
    void Init_Page_String();
    int LineOf(const TextPosition& place) const;
    int PageHolding(const TextPosition& place) const;
    bool PairHolds(const TextPosition& place) const;
    TextPosition LineStart(int g);
    TextPosition PairStart() { return LineStart(Store.FirstLine + 1); }
    TextPosition UnderlinedStart();
    TextPosition Clamped(TextPosition place) const;
    std::uint32_t ChunkSize(int k) const;
    std::uint64_t ReadingOffset();
    TextPosition ChapterStart(int i);
    void TextChanged();
    std::string HeadOfPair();
    int WantedHeadRoom();
    void HeadRoomMayChange();

    ProgressWindow& Progress;
    DocumentStore Store;
    TextOptions Passes;
    PageFormat Format;
    PageFormat PagedFormat; // Format less the running head's room
    CharWidthCache* Widths = nullptr;
    TextPosition Anchor;
    // The character the underline is under, when it is not on the pair's first line.
    std::optional<TextPosition> UnderlineAnchor;
    UnderlinePlace UnderlineAt;
    BookSnapshot Shown;
    std::optional<ChapterList> Toc; // empty until asked for after the text changed
    std::string UserPattern;
    bool RunningHeadWanted = false;
    int HeadHeight = 0;
};
