// test-links: mojuan_app
#include "app/Main.h"

#include <QDialog>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A book of 20 pages of 27 numbered lines.
struct Book {
    NoProgress progress;
    Registry reg{""};
    TFormMain book{reg, progress};

    Book() {
        std::string text;
        for (int i = 1; i <= 27 * 20; ++i)
            text += std::to_string(i) + "\r\n";
        book.ShowOpened("/books/numbers.txt", {MakeChunk(text)});
        book.ChangeYe(1);
        book.show();
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(&book, key, mods); }
};

TEST(AutoReadWindowTest, StartKeyAndSpeedKeysAreTakenAndTheSpeedIsKept) {
    Book b;
    b.book.Setting.AutoReadPaced = true;
    b.Key(Qt::Key_A);
    ASSERT_TRUE(b.book.AutoReading());
    EXPECT_TRUE(b.book.Menus->ItemAutoRead->isChecked());
    b.Key(Qt::Key_Equal); // the plus key
    b.Key(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(b.book.Setting.ReadingSpeed, 363);
    b.Key(Qt::Key_Minus);
    EXPECT_EQ(b.book.Setting.ReadingSpeed, 330);
    EXPECT_EQ(b.book.Book.CurrentPage(), 1); // the speed keys did not turn the page
    b.Key(Qt::Key_A);
    EXPECT_FALSE(b.book.AutoReading());
    EXPECT_FALSE(b.book.Menus->ItemAutoRead->isChecked());
}

TEST(AutoReadWindowTest, AnyOtherKeyOrAClickPausesAndStillActs) {
    Book b;
    b.Key(Qt::Key_A);
    b.Key(Qt::Key_Right);
    EXPECT_FALSE(b.book.AutoReading());
    EXPECT_EQ(b.book.Book.CurrentPage(), 3);
    b.Key(Qt::Key_A);
    QTest::mouseClick(&b.book, Qt::LeftButton, {}, QPoint(450, 200));
    EXPECT_FALSE(b.book.AutoReading());
    EXPECT_EQ(b.book.Book.CurrentPage(), 5);
}

TEST(AutoReadWindowTest, ADialogHidingOrEditModePauses) {
    Book b;
    b.Key(Qt::Key_A);
    QDialog dialog(&b.book);
    dialog.open();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !b.book.AutoReading(); }));
    dialog.close();
    b.Key(Qt::Key_A);
    b.book.ItemShowClick();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !b.book.AutoReading(); }));
    b.book.ShowMainForm();
    b.Key(Qt::Key_A);
    b.book.ItemEditClick();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !b.book.AutoReading(); }));
}

} // namespace
