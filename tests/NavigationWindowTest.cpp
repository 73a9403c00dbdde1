// test-links: mojuan_app
#include "app/Main.h"
#include "dialogs/Chapters.h"
#include "text/GbkText.h"

#include <QLineEdit>
#include <QListWidget>

#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A move with the left button held down, as a drag sends it.
void DragTo(QWidget& widget, QPoint pos) {
    QMouseEvent move(QEvent::MouseMove, pos, widget.mapToGlobal(pos), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
}

// A book showing 200 pages of 27 numbered lines.
struct NumberedBook {
    NoProgress progress;
    Registry reg{""};
    TFormMain book{reg, progress};

    NumberedBook() {
        std::string text;
        for (int i = 1; i <= 27 * 200; ++i)
            text += std::to_string(i) + "\r\n";
        text.resize(text.size() - 2);
        book.ShowOpened("/books/numbers.txt", {MakeChunk(text)});
        book.ChangeYe(1);
        book.show();
        EXPECT_EQ(book.Book.PageCount(), 200);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(&book, key, mods); }
    void OpenPageMenu() { emit book.Menus->MenuPageMove->aboutToShow(); }
};

// Ten chapters "第N章" of 200 lines each.
struct ChapterBook {
    NoProgress progress;
    Registry reg{""};
    TFormMain book{reg, progress};

    ChapterBook() {
        const char* numbers[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九", "十"};
        std::string text;
        for (const char* n : numbers) {
            text += std::string("第") + n + "章\r\n";
            for (int i = 0; i < 200; ++i)
                text += "正文。\r\n";
        }
        book.ShowOpened("/books/chapters.txt", {MakeChunk(gbk::FromUtf8(text))});
        book.show();
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(&book, key, mods); }
    std::string Chapter() { return book.Book.ChapterCaption(book.Book.CurrentChapter()); }
};

TEST(NavigationWindowTest, ChapterKeysAndTheChapterListMoveByChapter) {
    ChapterBook b;
    b.Key(Qt::Key_BracketRight);
    EXPECT_EQ(b.Chapter(), "第二章");
    EXPECT_TRUE(b.book.UnderlineShown());
    b.Key(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(b.Chapter(), "第三章");
    b.Key(Qt::Key_PageUp, Qt::ControlModifier);
    b.Key(Qt::Key_BracketLeft);
    EXPECT_EQ(b.Chapter(), "第一章");
    int shown = -1;
    b.book.RunDialog = [&](QDialog& dialog) {
        auto& list = dynamic_cast<TFormChapters&>(dialog);
        shown = list.ListChapters->currentRow();
        list.EditFilter->setText(QStringLiteral("第七"));
        return QDialog::Accepted;
    };
    b.Key(Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(b.Chapter(), "第七章");
}

TEST(NavigationWindowTest, StripKeysTurnAndBackspaceReturns) {
    NumberedBook b;
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_PageDown, Qt::Key_Right, Qt::Key_Equal})
        b.Key(key);
    EXPECT_EQ(b.book.Book.CurrentPage(), 9);
    b.Key(Qt::Key_Left);
    EXPECT_EQ(b.book.Book.CurrentPage(), 7);
    b.Key(Qt::Key_Backspace);
    EXPECT_EQ(b.book.Book.CurrentPage(), 9);
    b.Key(Qt::Key_Backspace); // a second Backspace goes forward again
    EXPECT_EQ(b.book.Book.CurrentPage(), 7);
}

TEST(NavigationWindowTest, ItemKeysObeyStatesFromLastPageMenuOpening) {
    NumberedBook b;
    b.OpenPageMenu(); // on page 1: previous and first are disabled
    b.book.ChangeYe(51);
    b.Key(Qt::Key_Home);
    EXPECT_EQ(b.book.Book.CurrentPage(), 51);
    b.Key(Qt::Key_Up);
    EXPECT_EQ(b.book.Book.CurrentPage(), 51);
    b.Key(Qt::Key_PageUp); // the strip operations always act
    EXPECT_EQ(b.book.Book.CurrentPage(), 49);
    b.OpenPageMenu();
    b.Key(Qt::Key_Home);
    EXPECT_EQ(b.book.Book.CurrentPage(), 1);
    b.Key(Qt::Key_End);
    EXPECT_EQ(b.book.Book.CurrentPage(), 199);
}

TEST(NavigationWindowTest, ClickingPagesFollowsClickPageTurns) {
    NumberedBook b;
    b.book.Setting.DragPageMovesBook = false;
    QTest::mouseClick(&b.book, Qt::LeftButton, {}, QPoint(400, 150)); // right page
    EXPECT_EQ(b.book.Book.CurrentPage(), 3);
    QTest::mouseClick(&b.book, Qt::LeftButton, {}, QPoint(100, 150)); // left page
    EXPECT_EQ(b.book.Book.CurrentPage(), 1);
    QTest::mouseClick(&b.book, Qt::LeftButton, {}, QPoint(298, 10)); // book at x = width / 2
    EXPECT_EQ(b.book.Book.CurrentPage(), 3);
    b.book.Setting.ClickPageTurns = false;
    QTest::mouseClick(&b.book, Qt::LeftButton, {}, QPoint(400, 150));
    EXPECT_EQ(b.book.Book.CurrentPage(), 3);
    QTest::mouseClick(&b.book, Qt::LeftButton, {}, QPoint(588, 150)); // the strip still turns
    EXPECT_EQ(b.book.Book.CurrentPage(), 5);
}

TEST(NavigationWindowTest, ReleaseEndingADragTurnsNothing) {
    NumberedBook b;
    QTest::mousePress(&b.book, Qt::LeftButton, {}, QPoint(400, 150));
    EXPECT_EQ(b.book.Drag(), DragState::Armed);
    DragTo(b.book, QPoint(420, 150)); // the window manager takes the move from here
    EXPECT_EQ(b.book.Drag(), DragState::Moving);
    QTest::mouseRelease(&b.book, Qt::LeftButton, {}, QPoint(400, 150));
    EXPECT_EQ(b.book.Book.CurrentPage(), 1);
}

TEST(NavigationWindowTest, MenuShortcutsComeBeforeTheKeyMap) {
    NumberedBook b;
    b.Key(Qt::Key_U, Qt::ControlModifier);
    EXPECT_TRUE(b.book.Setting.ShowUnderline);
    b.Key(Qt::Key_Down); // now the underline moves instead of the page turning
    EXPECT_EQ(b.book.Book.CurrentPage(), 1);
    EXPECT_EQ(b.book.UnderlineRow(), 2);
    b.Key(Qt::Key_D, Qt::ControlModifier);
    EXPECT_TRUE(b.book.Setting.DoubleSpacing);
    EXPECT_EQ(b.book.Book.LinesPerPage(), 13);
}

// The move area shows a hand and the resize area the diagonal-size cursor as the mouse passes
// over them, with no button pressed; the pages keep the arrow.
TEST(NavigationWindowTest, HotAreasShowTheirCursors) {
    NumberedBook b;
    const BookGeometry& g = b.book.Layout();
    QTest::mouseMove(&b.book, g.ImageMove.center());
    EXPECT_EQ(b.book.cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(&b.book, g.ImageResize.center());
    EXPECT_EQ(b.book.cursor().shape(), Qt::SizeFDiagCursor);
    QTest::mouseMove(&b.book, QPoint(400, 150));
    EXPECT_EQ(b.book.cursor().shape(), Qt::ArrowCursor);
}

// A press armed on a page with click turns off must not survive its release: a later drag
// over a strip would otherwise move the window.
TEST(NavigationWindowTest, NoDragStateOutlivesItsPress) {
    NumberedBook b;
    b.book.Setting.ClickPageTurns = false;
    QTest::mouseClick(&b.book, Qt::LeftButton, {}, QPoint(400, 150));
    EXPECT_EQ(b.book.Drag(), DragState::Idle);
    QTest::mousePress(&b.book, Qt::LeftButton, {}, QPoint(400, 150));
    QTest::mousePress(&b.book, Qt::LeftButton, {}, QPoint(588, 150)); // on the right strip
    EXPECT_EQ(b.book.Drag(), DragState::Idle);
    DragTo(b.book, QPoint(580, 150));
    EXPECT_EQ(b.book.Drag(), DragState::Idle);
    QTest::mouseRelease(&b.book, Qt::LeftButton, {}, QPoint(588, 150));
    EXPECT_EQ(b.book.Book.CurrentPage(), 3);
}

} // namespace
