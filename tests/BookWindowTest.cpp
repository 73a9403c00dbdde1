// test-links: mojuan_app
#include "TestSupport.h"
#include "app/Main.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(BookWindowTest, StartsWithHelpTextAtDefaultBounds) {
    NoProgress progress;
    TFormMain book(progress);
    book.show();
    EXPECT_EQ(book.geometry(), QRect(100, 50, 596, 380));
    EXPECT_TRUE(book.Store.DocumentName.empty());
    EXPECT_EQ(book.Store.CurrentPage, 1);
    EXPECT_EQ(book.Store.LinesPerPage, 27); // page height 330 at a 12-pixel line
    EXPECT_GE(book.Store.PageCount, 2);
    EXPECT_EQ(book.Pages.Left.substr(0, 2), "  "); // the help text's centred title
    EXPECT_FALSE(book.Pages.Right.empty());
}

TEST(BookWindowTest, StripsTurnThePair) {
    NoProgress progress;
    TFormMain book(progress);
    book.show();
    ASSERT_GE(book.Store.PageCount, 3);
    QTest::mouseClick(&book, Qt::LeftButton, {}, QPoint(590, 200));
    EXPECT_EQ(book.Store.CurrentPage, 3);
    EXPECT_EQ(book.Store.PreviousPage, 1);
    QTest::mouseClick(&book, Qt::LeftButton, {}, QPoint(5, 200));
    EXPECT_EQ(book.Store.CurrentPage, 1);
    // The top-right corner is the hide area, which lies above the right strip.
    QTest::mouseClick(&book, Qt::LeftButton, {}, QPoint(590, 5));
    EXPECT_EQ(book.Store.CurrentPage, 1);
}

TEST(BookWindowTest, UnderlineSitsUnderItsLine) {
    NoProgress progress;
    TFormMain book(progress);
    book.UnderlineLine = 3;
    book.Init_UnderLine();
    EXPECT_EQ(book.ImageUnderLine.top(), 28 + 12 * 3);
    book.Setting.DoubleSpacing = true;
    book.Init_UnderLine();
    EXPECT_EQ(book.ImageUnderLine.top(), 28 + 12 * 5);
}

TEST(BookWindowTest, ResizeKeepsMinimumAndRepaginates) {
    NoProgress progress;
    TFormMain book(progress);
    book.show();
    book.resize(50, 40);
    QTest::qWait(10);
    EXPECT_EQ(book.Setting.BookWidth, 126);
    EXPECT_EQ(book.Setting.BookHeight, 79);
    EXPECT_EQ(book.Geometry.PageHeight, 68);
    EXPECT_EQ(book.Store.LinesPerPage, 5);
}

TEST(BookWindowTest, RendersTheBook) {
    NoProgress progress;
    TFormMain book(progress);
    book.show();
    const QImage image = book.grab().toImage();
    EXPECT_EQ(image.size(), QSize(596, 380));
    EXPECT_TRUE(image.save(QString::fromStdString(testsupport::ArtifactPath("book.png"))));
}

} // namespace
