// test-links: mojuan_reader
#include "reader/DocumentStore.h"
#include "reader/PagePair.h"
#include "reader/ReadingPlace.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// n lines of "ab" each ended by CR LF, then a last line without one.
std::string Lines(int n) {
    std::string text;
    for (int i = 0; i < n - 1; ++i)
        text += "ab\r\n";
    return text + "ab";
}

struct Paginated {
    FixedWidthMeasurer measurer;
    CharWidthCache widths{measurer};
    NoProgress progress;
    DocumentStore store;

    // Page height 20 x 12 with a 12-pixel line: 20 lines per page.
    void Paginate(int pageHeight = 240, bool doubleSpacing = false, int testHeight = 48) {
        store.Paginate({200, pageHeight, testHeight, doubleSpacing}, widths, progress);
    }
};

TEST(PaginationTest, ThePlaceAsAShareOfTheTextFindsItsPageAgain) {
    Paginated p;
    // Two chunks, so that the share crosses a chunk border: 150 and 250 lines.
    p.store.SetChunks({MakeChunk(Lines(150)), MakeChunk(Lines(250))});
    p.Paginate();
    p.store.GoToPage(13);
    const double share = ShownShare(p.store);
    // Line 241 is line 91 of the second chunk, which follows 598 bytes.
    EXPECT_DOUBLE_EQ(share, (598.0 + 90 * 4) / static_cast<double>(p.store.CharCount));
    // The same text read again (as GB and BIG5 readings of one file are) gives the same page.
    EXPECT_EQ(PageAtShare(p.store, share), 13);
    EXPECT_EQ(PageAtShare(p.store, 0), 1);
    EXPECT_EQ(PageAtShare(p.store, 1), p.store.PageCount);
}

TEST(PaginationTest, ExactMultipleGivesWholePages) {
    Paginated p;
    p.store.SetChunks({MakeChunk(Lines(200))});
    p.Paginate();
    EXPECT_EQ(p.store.LinesPerPage, 20);
    EXPECT_EQ(p.store.TotalLines, 200);
    EXPECT_EQ(p.store.PageCount, 10);
    p.store.SetChunks({MakeChunk(Lines(201))});
    p.Paginate();
    EXPECT_EQ(p.store.PageCount, 11);
}

TEST(PaginationTest, EmptyDocumentHasOneLineAndOnePage) {
    Paginated p;
    p.store.SetChunks({MakeChunk("")});
    p.Paginate();
    EXPECT_EQ(p.store.TotalLines, 1);
    EXPECT_EQ(p.store.PageCount, 1);
    EXPECT_EQ(p.store.CurrentPage, 1);
    EXPECT_EQ(p.store.CharCount, 0);
}

TEST(PaginationTest, LinesPerPageFromTestHeight) {
    Paginated p;
    p.store.SetChunks({MakeChunk(Lines(10))});
    p.Paginate(330, false, 48);
    EXPECT_EQ(p.store.LinesPerPage, 27);
    p.Paginate(330, true, 48);
    EXPECT_EQ(p.store.LinesPerPage, 13);
    p.Paginate(10, false, 48); // a test height above four page heights
    EXPECT_EQ(p.store.LinesPerPage, 1);
}

TEST(PaginationTest, PositionStaysProportionalAfterResize) {
    Paginated p;
    p.store.SetChunks({MakeChunk(Lines(2000))});
    p.Paginate(240); // 20 lines, 100 pages
    ASSERT_EQ(p.store.PageCount, 100);
    p.store.GoToPage(51);
    p.Paginate(300); // 25 lines, 80 pages
    ASSERT_EQ(p.store.PageCount, 80);
    EXPECT_EQ(p.store.CurrentPage, 40);
    EXPECT_EQ(p.store.PreviousPage, 1);
    p.store.GoToPage(p.store.CurrentPage);
    EXPECT_EQ(p.store.CurrentPage, 39);
}

TEST(PaginationTest, LastPageMapsToPageOneAfterResize) {
    Paginated p;
    p.store.SetChunks({MakeChunk(Lines(2000))});
    p.Paginate(240);
    p.store.CurrentPage = p.store.PageCount; // the left page is the last page
    p.Paginate(300);
    EXPECT_EQ(p.store.CurrentPage, 1);
}

TEST(PaginationTest, LineCrossingChunkBoundaryContinuesInNextChunk) {
    Paginated p;
    p.store.SetChunks({MakeChunk("one\r\ntw"), MakeChunk("o\r\nthree")});
    p.Paginate();
    EXPECT_EQ(p.store.TotalLines, 4);
    EXPECT_EQ(p.store.LineText(2), "tw");
    EXPECT_EQ(p.store.LineText(3), "o");
    EXPECT_EQ(p.store.LineText(4), "three");
    EXPECT_EQ(p.store.LineText(1), "one"); // the cursor walks back
    EXPECT_EQ(p.store.LineText(99), "");   // past the end reads as empty
    EXPECT_EQ(p.store.CharCount, 15);
}

TEST(PagePairTest, GoToPageClampsAndKeepsLeftPageOdd) {
    Paginated p;
    p.store.SetChunks({MakeChunk(Lines(200))});
    p.Paginate();
    for (auto [asked, shown] : {std::pair{0, 1}, {-5, 1}, {8, 7}, {7, 7}, {20, 9}, {99, 9}}) {
        p.store.GoToPage(asked);
        EXPECT_EQ(p.store.CurrentPage, shown) << "asked " << asked;
    }
    p.store.GoToPage(3);
    p.store.GoToPage(3);
    EXPECT_EQ(p.store.PreviousPage, 3); // set by every move, also when the page stays
}

TEST(PagePairTest, CutsBothPagesAndFillsPastTheEnd) {
    Paginated p;
    p.store.SetChunks({MakeChunk("l1\r\nl2\r\nl3")});
    p.Paginate(24); // 2 lines per page
    p.store.GoToPage(1);
    PagePairText pair = CutPagePair(p.store, false);
    EXPECT_EQ(pair.Left, "l1\r\nl2\r\n");
    EXPECT_EQ(pair.Right, "l3\r\n\r\n");
    pair = CutPagePair(p.store, true);
    EXPECT_EQ(pair.Left, "l1\r\n\r\nl2\r\n\r\n");
}

} // namespace
