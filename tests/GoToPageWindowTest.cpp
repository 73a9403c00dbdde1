// test-links: mojuan_app
#include "DialogTestSupport.h"
#include "RecordingPrompter.h"
#include "app/Main.h"
#include "dialogs/ArrowButton.h"
#include "dialogs/InputYe.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A book of `pages` pages of 27 lines.
struct GoToBook {
    NoProgress progress;
    Registry reg{""};
    TFormMain book{reg, progress};

    explicit GoToBook(int pages = 10) {
        std::string text;
        for (int i = 1; i <= 27 * pages; ++i)
            text += std::to_string(i) + "\r\n";
        text.resize(text.size() - 2);
        book.ShowOpened("/books/numbers.txt", {MakeChunk(text)});
        book.ChangeYe(1);
        book.show();
    }
    // Opens the pop-up with Ctrl+Y and lets `act` work on it.
    bool Run(std::function<void(TFormInputYe*)> act) {
        DialogAnswer answer = DialogAnswer::For<TFormInputYe>(std::move(act));
        QTest::keyClick(&book, Qt::Key_Y, Qt::ControlModifier);
        return answer.Answered();
    }
    // Types `text` over the selected page number and presses Enter.
    void Type(const char* text) {
        Run([text](TFormInputYe* dialog) {
            QTest::keyClicks(dialog->EditInputYe, QString::fromLatin1(text));
            QTest::keyClick(dialog->EditInputYe, Qt::Key_Return);
        });
    }
};

// Parsing and clamping are the go-to rules' and the pagination's; the window hands the number on.
TEST(GoToPageWindowTest, TypedNumbersAreClampedByThePageChange) {
    GoToBook b;
    b.Type("4");
    EXPECT_EQ(b.book.Book.CurrentPage(), 3);
    b.Type("25");
    EXPECT_EQ(b.book.Book.CurrentPage(), 9);
    b.book.ChangeYe(5);
    b.Type("x"); // not a number: closes without moving
    EXPECT_EQ(b.book.Book.CurrentPage(), 5);
}

TEST(GoToPageWindowTest, OpensWithTheLeftPageSelectedAndStepsWithinThePages) {
    GoToBook b;
    b.book.ChangeYe(8);
    QString shown, selected;
    std::vector<QString> steps;
    b.Run([&](TFormInputYe* dialog) {
        shown = dialog->EditInputYe->text();
        selected = dialog->EditInputYe->selectedText();
        QTest::keyClick(dialog->EditInputYe, Qt::Key_Up);
        QTest::keyClick(dialog->EditInputYe, Qt::Key_Up);
        QTest::keyClick(dialog->EditInputYe, Qt::Key_Up);
        QTest::keyClick(dialog->EditInputYe, Qt::Key_Up);
        steps.push_back(dialog->EditInputYe->text());
        dialog->EditInputYe->setText("2");
        QTest::mouseClick(dialog->BtnPrevYe, Qt::LeftButton);
        QTest::mouseClick(dialog->BtnPrevYe, Qt::LeftButton);
        steps.push_back(dialog->EditInputYe->text());
        QTest::mouseClick(dialog->BtnNextYe, Qt::LeftButton);
        steps.push_back(dialog->EditInputYe->text());
        QTest::keyClick(dialog->EditInputYe, Qt::Key_Escape);
    });
    EXPECT_EQ(shown, "7");
    EXPECT_EQ(selected, "7");
    EXPECT_EQ(steps, (std::vector<QString>{"10", "1", "2"}));
    EXPECT_EQ(b.book.Book.CurrentPage(), 7); // Esc cancelled
}

TEST(GoToPageWindowTest, RightClickOnAnArrowConfirmsAndOnTheFaceCancels) {
    GoToBook b;
    b.Run([](TFormInputYe* dialog) {
        dialog->EditInputYe->setText("6");
        QTest::mouseClick(dialog->BtnNextYe, Qt::RightButton);
    });
    EXPECT_EQ(b.book.Book.CurrentPage(), 5);
    b.Run([](TFormInputYe* dialog) {
        dialog->EditInputYe->setText("9");
        QTest::mouseClick(dialog->Label1, Qt::RightButton);
    });
    EXPECT_EQ(b.book.Book.CurrentPage(), 5);
}

TEST(GoToPageWindowTest, TheFaceFollowsALeftDrag) {
    GoToBook b;
    QPoint before, after;
    b.Run([&](TFormInputYe* dialog) {
        before = dialog->pos();
        QTest::mousePress(dialog->Label1, Qt::LeftButton, {}, QPoint(2, 2));
        QMouseEvent move(QEvent::MouseMove, QPointF(32, 22),
                         dialog->Label1->mapToGlobal(QPointF(32, 22)), Qt::NoButton, Qt::LeftButton,
                         {});
        QApplication::sendEvent(dialog->Label1, &move);
        QTest::mouseRelease(dialog->Label1, Qt::LeftButton, {}, QPoint(32, 22));
        after = dialog->pos();
        dialog->reject();
    });
    EXPECT_EQ(after - before, QPoint(30, 20));
}

TEST(GoToPageWindowTest, PlacedWithItsUpArrowUnderThePointerAndKeptOnScreen) {
    const QRect screen(0, 0, 1024, 768);
    EXPECT_EQ(TFormInputYe::FacePosition({500, 300}, screen), QPoint(413, 289));
    EXPECT_EQ(TFormInputYe::FacePosition({1020, 5}, screen), QPoint(904, 0));
    EXPECT_EQ(TFormInputYe::FacePosition({3, 760}, screen), QPoint(0, 739));
}

TEST(GoToPageWindowTest, DoesNothingWithFewerThanThreePages) {
    GoToBook b(2);
    EXPECT_FALSE(b.Run([](TFormInputYe* dialog) { dialog->reject(); }));
    EXPECT_EQ(b.book.Book.CurrentPage(), 1);
    emit b.book.Menus->MenuMain->aboutToShow();
    emit b.book.Menus->MenuPageMove->aboutToShow();
    EXPECT_FALSE(b.book.Menus->ItemInputYe->isEnabled());
    EXPECT_FALSE(b.book.Menus->ItemInputYe1->isEnabled());
}

TEST(GoToPageWindowTest, PageMenuCarriesTheItemBetweenSeparators) {
    GoToBook b;
    QStringList captions;
    for (QAction* item : b.book.Menus->MenuPageMove->actions())
        captions << (item->isSeparator() ? QStringLiteral("—") : item->text());
    EXPECT_EQ(captions.join('|'), QStringLiteral("上一页|下一页|—|第一页        Home|最后一页      "
                                                 "End|—|指定页...     Ctrl+Y|上一章        [|下一章        ]|—|"
                                                 "上一篇小说    "
                                                 "<|下一篇小说    >|—|自动阅读      A"));
}

} // namespace
