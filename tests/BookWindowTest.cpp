// test-links: mojuan_app
#include "TestSupport.h"
#include "app/Main.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

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

// The numbers follow the settings and the pair shown; the last pair of an odd page count has
// no right number.
TEST(BookWindowTest, PageNumbersFollowTheSettingsAndThePair) {
    NoProgress progress;
    Registry reg("");
    TFormMain book(reg, progress);
    OpenChunks(book, {MakeChunk(NumberedLines(27 * 120))}); // 121 pages
    book.Setting.PageNumberShowTotal[0] = true;
    book.ChangeYe(7);
    EXPECT_EQ(book.PageNumberGroup(0).Whole(), QStringLiteral("第7/121页"));
    EXPECT_EQ(book.PageNumberGroup(1).Ye.Caption, "8");
    EXPECT_EQ(book.PageNumberGroup(0).Be.Rect.left(), 11 + 13); // "12" at the outer edge
    book.ChangeYe(121);
    EXPECT_FALSE(book.PageNumberGroup(1).Ye.Visible);
}

// The pair is drawn before the pages after it are counted, which follows the drawing; a page
// number that shows the total counts them at once.
TEST(BookWindowTest, ThePagesAfterThePairAreCountedOnceItIsDrawn) {
    NoProgress progress;
    Registry reg("");
    TFormMain book(reg, progress);
    const std::vector<Chunk> chunks{MakeChunk(NumberedLines(2700)), MakeChunk(NumberedLines(2700))};
    book.ShowOpened("/books/test.txt", chunks);
    EXPECT_EQ(book.Book.Snapshot().PageCount, 0);
    book.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return book.Book.Snapshot().PageCount == 201; }));
    book.Setting.PageNumberShowTotal[0] = true;
    book.ShowOpened("/books/test.txt", chunks);
    EXPECT_EQ(book.PageNumberGroup(0).Whole(), QStringLiteral("第1/201页"));
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
