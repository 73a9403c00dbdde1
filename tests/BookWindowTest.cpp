// test-links: mojuan_app
#include "TestSupport.h"
#include "app/Main.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(BookWindowTest, StartsWithHelpTextAtDefaultBounds) {
    NoProgress progress;
    Registry reg("");
    TFormMain book(reg, progress);
    book.show();
    EXPECT_EQ(book.geometry(), QRect(100, 50, 596, 380));
    EXPECT_TRUE(book.Book.DocumentName().empty());
    EXPECT_EQ(book.Book.CurrentPage(), 1);
    EXPECT_EQ(book.Book.LinesPerPage(), 27); // page height 330 at a 12-pixel line
    EXPECT_GE(book.Book.PageCount(), 2);
    EXPECT_EQ(book.ShownPages().Left.substr(0, 2), "  "); // the help text's centred title
    EXPECT_FALSE(book.ShownPages().Right.empty());
}

TEST(BookWindowTest, StripsTurnThePair) {
    NoProgress progress;
    Registry reg("");
    TFormMain book(reg, progress);
    book.show();
    ASSERT_GE(book.Book.PageCount(), 3);
    QTest::mouseClick(&book, Qt::LeftButton, {}, QPoint(590, 200));
    EXPECT_EQ(book.Book.CurrentPage(), 3);
    EXPECT_EQ(book.Book.PreviousPage(), 1);
    QTest::mouseClick(&book, Qt::LeftButton, {}, QPoint(5, 200));
    EXPECT_EQ(book.Book.CurrentPage(), 1);
    // The top-right corner is the hide area, which lies above the right strip.
    QTest::mouseClick(&book, Qt::LeftButton, {}, QPoint(590, 5));
    EXPECT_EQ(book.Book.CurrentPage(), 1);
}

TEST(BookWindowTest, UnderlineSitsUnderItsLine) {
    NoProgress progress;
    Registry reg("");
    TFormMain book(reg, progress);
    book.Setting.ShowUnderline = true;
    book.MoveUnderLine(+2);
    ASSERT_EQ(book.UnderlineRow(), 3);
    EXPECT_EQ(book.UnderlineRect().top(), 28 + 12 * 3);
    book.Setting.DoubleSpacing = true;
    book.Init_UnderLine();
    EXPECT_EQ(book.UnderlineRect().top(), 28 + 12 * 5);
}

TEST(BookWindowTest, ResizeKeepsMinimumAndRepaginates) {
    NoProgress progress;
    Registry reg("");
    TFormMain book(reg, progress);
    book.show();
    book.resize(50, 40);
    QTest::qWait(10);
    EXPECT_EQ(book.Setting.BookWidth, 126);
    EXPECT_EQ(book.Setting.BookHeight, 79);
    EXPECT_EQ(book.Layout().PageHeight, 68);
    EXPECT_EQ(book.Book.LinesPerPage(), 5);
}

// Shows `chunks` as an open document, paginated and at page 1.
void OpenChunks(TFormMain& book, std::vector<Chunk> chunks) {
    book.ShowOpened("/books/test.txt", std::move(chunks));
    book.ChangeYe(1);
}

std::string NumberedLines(int n) {
    std::string text;
    for (int i = 1; i <= n; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    return text;
}

TEST(BookWindowTest, LastPairOfOddPageCountHasNoRightNumber) {
    NoProgress progress;
    Registry reg("");
    TFormMain book(reg, progress);
    OpenChunks(book, {MakeChunk(NumberedLines(27 * 4))}); // 109 lines: 5 pages of 27
    ASSERT_EQ(book.Book.PageCount(), 5);
    book.ChangeYe(book.Book.PageCount() + 10);
    EXPECT_EQ(book.Book.CurrentPage(), 5);
    EXPECT_FALSE(book.PageNumberGroup(1).Ye.Visible);
    std::string emptyPage;
    for (int i = 0; i < 27; ++i)
        emptyPage += "\r\n";
    EXPECT_EQ(book.ShownPages().Right, emptyPage);
    book.ChangeYe(3);
    EXPECT_TRUE(book.PageNumberGroup(1).Ye.Visible);
    EXPECT_EQ(book.PageNumberGroup(1).Ye.Caption, "4");
}

TEST(BookWindowTest, PageNumbersFollowPlacementAndTotal) {
    NoProgress progress;
    Registry reg("");
    TFormMain book(reg, progress);
    OpenChunks(book, {MakeChunk(NumberedLines(27 * 120))});
    book.Setting.PageNumberShowTotal[0] = true;
    book.ChangeYe(7);
    EXPECT_EQ(book.PageNumberGroup(0).Whole(), QStringLiteral("第7/121页"));
    // "12": outer edge of the left half, at the bottom.
    EXPECT_EQ(book.PageNumberGroup(0).Be.Rect.left(), 11 + 13);
    EXPECT_EQ(book.PageNumberGroup(0).Be.Rect.bottom() + 1, 380 - 8);
    EXPECT_EQ(book.PageNumberGroup(0).Ye.Rect.left(), book.PageNumberGroup(0).Be.Rect.right() + 1);
    // "32": the right group's right edge against the right strip.
    EXPECT_EQ(book.PageNumberGroup(1).Af.Rect.right() + 1, 596 - 13 - 11);
}

TEST(BookWindowTest, BrokenBytesPaginateAndDraw) {
    NoProgress progress;
    Registry reg("");
    TFormMain book(reg, progress);
    std::string garbage(3000, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<char>((i * 37 + 11) % 256);
    OpenChunks(book, {MakeChunk(garbage), MakeChunk(std::string(600, 'x')), MakeChunk("")});
    EXPECT_GE(book.Book.PageCount(), 1);
    for (int page = 1; page <= book.Book.PageCount(); page += 2) {
        book.ChangeYe(page);
        EXPECT_FALSE(book.grab().isNull());
    }
}

TEST(BookWindowTest, RendersTheBook) {
    NoProgress progress;
    Registry reg("");
    TFormMain book(reg, progress);
    book.show();
    const QImage image = book.grab().toImage();
    EXPECT_EQ(image.size(), QSize(596, 380));
    EXPECT_TRUE(image.save(QString::fromStdString(testsupport::ArtifactPath("book.png"))));
}

} // namespace
