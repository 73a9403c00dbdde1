// test-links: mojuan_reader
#include "reader/Search.h"
#include "text/GbkText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

// Lines of the book are ten narrow characters wide (6 pixels each in a 60-pixel line) and a page
// holds 10 lines.
struct Book {
    FixedWidthMeasurer measurer;
    CharWidthCache widths{measurer};
    NoProgress progress;
    DocumentStore store;

    explicit Book(std::vector<std::string> chunks) {
        std::vector<Chunk> made;
        for (std::string& c : chunks)
            made.push_back(MakeChunk(std::move(c)));
        store.SetChunks(std::move(made));
        store.Paginate({60, 120, 48, false}, widths, progress);
        Show(1);
    }
    void Show(int page) {
        store.GoToPage(page);
        store.FirstLine = (store.CurrentPage - 1) * store.LinesPerPage;
    }
    std::optional<SearchHit> Find(const std::string& pattern, SearchStart start = {},
                                  bool matchCase = true) {
        return DoSearch(store, pattern, matchCase, start);
    }
    // The search as the window repeats it: show the hit's pair and put the underline under it.
    std::optional<SearchHit> FindNext(const std::string& pattern, SearchStart& at,
                                      bool matchCase = true) {
        std::optional<SearchHit> hit = DoSearch(store, pattern, matchCase, at);
        if (hit) {
            Show(hit->Page);
            at = {true, hit->Page % 2 == 0, hit->LineInPage};
        }
        return hit;
    }
};

// n numbered lines "L1", "L2", ... each ended by CR LF.
std::string NumberedLines(int from, int to) {
    std::string text;
    for (int i = from; i <= to; ++i)
        text += "L" + std::to_string(i) + "\r\n";
    return text;
}

bool Same(const std::optional<SearchHit>& hit, int page, int line) {
    return hit && hit->Page == page && hit->LineInPage == line;
}

TEST(SearchTest, HitBeyondThePairGivesItsPageAndLine) {
    Book b({NumberedLines(1, 100)});
    EXPECT_TRUE(Same(b.Find("L57\r"), 6, 7));
    EXPECT_TRUE(Same(b.Find("L43\r"), 5, 3));
}

TEST(SearchTest, FindNextWalksBelowTheUnderlineThenOnwardWithoutWrapping) {
    std::string text = NumberedLines(1, 60);
    for (int line : {2, 5, 14, 45})
        text.replace(text.find("L" + std::to_string(line) + "\r"), 1, "X");
    Book b({text});
    SearchStart at{true, false, 1};
    EXPECT_TRUE(Same(b.FindNext("X", at), 1, 2));
    EXPECT_TRUE(Same(b.FindNext("X", at), 1, 5));
    EXPECT_TRUE(Same(b.FindNext("X", at), 2, 4));
    EXPECT_TRUE(Same(b.FindNext("X", at), 5, 5));
    EXPECT_EQ(b.store.CurrentPage, 5);
    EXPECT_FALSE(b.FindNext("X", at)); // no wrap to the beginning
    EXPECT_FALSE(b.Find("L3\r", at));
}

TEST(SearchTest, UnderlineOnRightPageSkipsTheLeftPage) {
    Book b({NumberedLines(1, 60)});
    EXPECT_FALSE(b.Find("L5\r", {true, true, 1}));
    EXPECT_FALSE(b.Find("L12\r", {true, true, 2})); // on the underline's own line
    EXPECT_TRUE(Same(b.Find("L13\r", {true, true, 2}), 2, 3));
    // With the underline hidden every hit of the shown pair counts.
    EXPECT_TRUE(Same(b.Find("L5\r", {false, true, 9}), 1, 5));
}

TEST(SearchTest, SeveralHitsOnOneLineAreFoundOnce) {
    Book b({"a1a2\r\na3\r\n"});
    SearchStart at{false, false, 1};
    EXPECT_TRUE(Same(b.FindNext("a", at), 1, 1));
    EXPECT_TRUE(Same(b.FindNext("a", at), 1, 2));
    EXPECT_FALSE(b.FindNext("a", at));
}

TEST(SearchTest, LetterCaseFoldsOnlyWhenAsked) {
    Book b({"xx\r\nabc\r\nAbC\r\n"});
    EXPECT_TRUE(Same(b.Find("ABC", {}, false), 1, 2));
    EXPECT_FALSE(b.Find("ABC", {}, true));
    EXPECT_TRUE(Same(b.Find("AbC", {}, true), 1, 3));
    EXPECT_EQ(NotFoundMessage("AbC中", false), InfoMessage("没有查找到 “abc中”。"));
    EXPECT_EQ(NotFoundMessage("AbC", true), InfoMessage("没有查找到 “AbC”。"));
}

// BIG5 characters whose trail bytes are letters: A4 41 and A4 61 are two different characters,
// and neither holds the letter A or a.
TEST(SearchTest, TrailBytesAreNeverLettersNorMatchStarts) {
    const std::string yi2 = "\xA4\x41", other = "\xA4\x61";
    Book b({yi2 + yi2 + "\r\n" + other + "\r\nz" + yi2 + "A\r\n"});
    EXPECT_TRUE(Same(b.Find("a", {}, false), 1, 3)); // the single A, not a trail byte
    EXPECT_TRUE(Same(b.Find("A", {}, true), 1, 3));
    EXPECT_TRUE(Same(b.Find(other, {}, false), 1, 2)); // not folded into A4 41
    EXPECT_TRUE(Same(b.Find(yi2 + "a", {}, false), 1, 3));
    EXPECT_EQ(FoldLetters(yi2 + "AB" + other), yi2 + "ab" + other);
    // "A" + A4 41 would be found at the trail byte of the first character by a byte search.
    EXPECT_FALSE(b.Find("A" + yi2, {}, true));
}

TEST(SearchTest, HitIsOnTheLineOfItsFirstByte) {
    // Ten narrow characters fill a line: "A" ends display line 1 and "B" begins line 2.
    Book b({"012345678AB\r\n"});
    EXPECT_TRUE(Same(b.Find("AB", {false, false, 1}, true), 1, 1));
    EXPECT_FALSE(b.Find("AB", {true, false, 1}, true)); // the underline already sits under it
}

TEST(SearchTest, LinesCountAcrossChunks) {
    Book b({NumberedLines(1, 30), NumberedLines(31, 70), NumberedLines(71, 95) + "needle"});
    // Each chunk ends with CR LF and so with an empty display line: 31 + 41 + 26 lines.
    EXPECT_EQ(b.store.TotalLines, 98);
    EXPECT_TRUE(Same(b.Find("L40\r"), 5, 1));
    EXPECT_TRUE(Same(b.Find("needle"), 10, 8));
    b.Show(9);
    EXPECT_TRUE(Same(b.Find("needle", {true, false, 1}), 10, 8));
}

TEST(SearchTest, HitAcrossAChunkBorder) {
    Book b({NumberedLines(1, 12) + "over", "lap\r\n" + NumberedLines(13, 40)});
    EXPECT_TRUE(Same(b.Find("overlap"), 2, 3));
    EXPECT_TRUE(Same(b.Find("OVERLAP", {}, false), 2, 3));
    EXPECT_FALSE(b.Find("overlaps"));
}

TEST(SearchTest, AllHitsAndThePreviousHitReachAcrossChunks) {
    const std::vector<Chunk> chunks{MakeChunk("xoverlap\r\nover"), MakeChunk("lap over")};
    EXPECT_EQ(FindAll(chunks, "OverLap", false), (std::vector<ChunkPlace>{{1, 1}, {1, 10}}));
    EXPECT_EQ(FindPrevious(chunks, "overlap", true, {2, 0}), ChunkPlace({1, 10}));
    EXPECT_EQ(FindPrevious(chunks, "overlap", true, {1, 10}), ChunkPlace({1, 1}));
    EXPECT_FALSE(FindPrevious(chunks, "overlap", true, {1, 1}));
}

TEST(SearchTest, PairSpanningTwoChunksIsSearchedFromItsTop) {
    // Pages 3 and 4 hold lines 21 to 40; the first chunk ends with line 26.
    Book b({NumberedLines(1, 24) + "mark\r\nL25", NumberedLines(26, 60)});
    b.Show(3);
    EXPECT_TRUE(Same(b.Find("mark", {true, false, 1}), 3, 5));
}

TEST(SearchTest, EveryCharacterIsSearchable) {
    EXPECT_EQ(SearchBytes("中文"), std::string("\xD6\xD0\xCE\xC4"));
    EXPECT_EQ(SearchBytes("abc"), std::string("abc"));
    EXPECT_EQ(SearchBytes("\xF0\x9F\x98\x80"), std::string("\x94\x39\xFC\x36")); // an emoji
    EXPECT_FALSE(SearchBytes("\xC0"));
}

TEST(SearchTest, FourByteCharactersMatchWholeAndOnlyAtTheirStart) {
    const std::string emoji = "\x94\x39\xFC\x36", other = "\x94\x39\xFC\x37";
    Book b({"x" + other + "\r\n" + NumberedLines(2, 30) + "a" + emoji + "9B\r\n"});
    EXPECT_TRUE(Same(b.Find(emoji), 4, 1));
    // These bytes lie inside the characters only: no hit starts there.
    EXPECT_FALSE(b.Find("\x39\xFC"));
    EXPECT_FALSE(b.Find("\xFC\x36"));
    EXPECT_TRUE(Same(b.Find(emoji + "9b", {}, false), 4, 1));
}

// Every hit of the whole document, found the slow way: every character start of every chunk
// (as that chunk alone is walked), compared character by character with the pattern.
std::vector<ChunkPlace> HitsTheSlowWay(const DocumentStore& store, const std::string& pattern,
                                       bool matchCase) {
    std::string whole;
    for (const Chunk& c : store.ShownChunk)
        whole += *c;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
    std::vector<ChunkPlace> hits;
    std::size_t base = 0;
    for (int k = 0; k < store.ChunkCount; ++k) {
        std::string_view text = *store.ShownChunk[k];
        for (std::size_t pos = 0; pos < text.size(); pos += gbk::CharAt(text, pos).Length) {
            bool same = base + pos + pattern.size() <= whole.size();
            for (std::size_t i = 0; same && i < pattern.size();) {
                const gbk::Char c = gbk::CharAt(whole, base + pos + i);
                const char t = whole[base + pos + i];
                same = c.Length == 1 ? (matchCase ? t : lower(t)) == pattern[i]
                                     : i + 1 < pattern.size() &&
                                           whole.compare(base + pos + i, 2, pattern, i, 2) == 0;
                i += c.Length;
            }
            if (same)
                hits.push_back({k + 1, static_cast<std::uint32_t>(pos)});
        }
        base += text.size();
    }
    return hits;
}

bool IsPlaceOf(const std::optional<SearchHit>& found, const DocumentStore& store, ChunkPlace hit) {
    int line = store.MemoChunk[hit.Chunk - 1].LineOfOffset(hit.Offset) + 1;
    for (int k = 1; k < hit.Chunk; ++k)
        line += store.MemoChunk[k - 1].LineCount();
    const int page = (line + store.LinesPerPage - 1) / store.LinesPerPage;
    return Same(found, page, line - (page - 1) * store.LinesPerPage);
}

// Whether every character of `text` is whole, as in any text GBK encodes: no lead byte stands
// alone.
bool WholeCharacters(const std::string& text) {
    if (text.empty())
        return false;
    for (std::size_t pos = 0; pos < text.size();) {
        const gbk::Char c = gbk::CharAt(text, pos);
        if (c.Length == 1 && gbk::IsLeadByte(c.Code))
            return false;
        pos += c.Length;
    }
    return true;
}

// Forward, back and all at once, on random texts of letters of both cases, line breaks and
// double-byte characters whose trail bytes are letters, cut into chunks at random bytes (also
// inside a character).
TEST(SearchTest, HitsAgreeWithTheSlowWayOnRandomTexts) {
    std::mt19937 random(12345);
    const std::vector<std::string> pieces = {"a",    "A",        "b",        "B",        " ",
                                             "\r\n", "\xA4\x41", "\xA4\x61", "\xB0\xA1", "\xA4"};
    const auto pick = [&](int n, bool breaks) {
        std::string s;
        for (int i = 0; i < n; ++i) {
            const std::string& p = pieces[random() % pieces.size()];
            if (breaks || p != "\r\n")
                s += p;
        }
        return s;
    };
    for (int round = 0; round < 300; ++round) {
        const std::string text = pick(60 + random() % 200, true);
        std::vector<std::string> chunks;
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t len = 1 + random() % 40;
            chunks.push_back(text.substr(at, len));
            at += len;
        }
        Book b(chunks);
        for (int q = 0; q < 5; ++q) {
            const bool matchCase = random() % 2;
            const std::string typed = pick(1 + random() % 3, false);
            if (!WholeCharacters(typed))
                continue;
            const std::string pattern = matchCase ? typed : FoldLetters(typed);
            const std::vector<ChunkPlace> expected = HitsTheSlowWay(b.store, pattern, matchCase);
            ASSERT_EQ(FindAll(b.store.ShownChunk, typed, matchCase), expected) << round << " " << q;
            const std::optional<SearchHit> found = b.Find(typed, {}, matchCase);
            ASSERT_EQ(found.has_value(), !expected.empty()) << round << " " << q;
            if (found) {
                ASSERT_TRUE(IsPlaceOf(found, b.store, expected[0])) << round << " " << q;
            }
            const ChunkPlace before{1 + static_cast<int>(random() % chunks.size()),
                                    static_cast<std::uint32_t>(random() % 40)};
            const auto after = std::lower_bound(expected.begin(), expected.end(), before);
            const std::optional<ChunkPlace> previous =
                FindPrevious(b.store.ShownChunk, typed, matchCase, before);
            ASSERT_EQ(previous,
                      after == expected.begin() ? std::nullopt : std::optional(*std::prev(after)))
                << round << " " << q;
        }
    }
}

} // namespace
