// test-links: mojuan_app
#include "RecordingPrompter.h"
#include "TestSupport.h"
#include "app/Main.h"
#include "records/SettingsStore.h"

#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Reason = QSystemTrayIcon::ActivationReason;

// The requests the book makes to the window system.
struct RecordingMoves : SystemMoves {
    std::vector<std::string> Requests;
    bool StartMove(QWidget&) override {
        Requests.push_back("move");
        return true;
    }
    bool StartResize(QWidget&, Qt::Edges edges) override {
        Requests.push_back(edges == (Qt::BottomEdge | Qt::RightEdge) ? "resize bottom-right"
                                                                     : "resize elsewhere");
        return true;
    }
};

struct Book {
    RecordingPrompter prompter;
    ScopedPrompter scope{prompter};
    NoProgress progress;
    Registry reg{""};
    TFormMain book{reg, progress};
    qint64 now = 0;
    bool trayAvailable = true;

    RecordingMoves* moves = new RecordingMoves;

    Book() {
        book.Moves.reset(moves);
        book.Tray->AvailableCheck = [this] { return trayAvailable; };
        book.Tray->Now = [this] { return now += 1000; };
        book.show();
    }
    void Tray(Reason reason) { emit book.Tray->Icon()->activated(reason); }
    QString Caption(QAction* item) {
        emit book.Menus->MenuMain->aboutToShow();
        return item->text();
    }
};

TEST(WindowStateTest, HideGoesToTheTrayAndTheTrayBringsTheBookBack) {
    Book b;
    EXPECT_EQ(b.Caption(b.book.Menus->ItemShow), QStringLiteral("隐藏书本"));
    // The top-right corner is the hide area.
    QTest::mouseClick(&b.book, Qt::LeftButton, {}, QPoint(590, 5));
    EXPECT_FALSE(b.book.isVisible());
    EXPECT_FALSE(b.book.isMinimized());
    EXPECT_TRUE(b.book.Tray->Icon()->isVisible());
    EXPECT_EQ(b.Caption(b.book.Menus->ItemShow), QStringLiteral("显示书本"));
    b.Tray(Reason::Trigger);
    EXPECT_TRUE(b.book.BookShown());
    b.Tray(Reason::DoubleClick);
    EXPECT_FALSE(b.book.isVisible());
    b.Tray(Reason::DoubleClick);
    EXPECT_TRUE(b.book.BookShown());
    // Ctrl+N toggles through the menu item.
    QTest::keyClick(&b.book, Qt::Key_N, Qt::ControlModifier);
    EXPECT_FALSE(b.book.isVisible());
    b.book.ShowMainForm();
    EXPECT_TRUE(b.book.BookShown());
}

TEST(WindowStateTest, WithoutATrayHidingMinimisesAndShowingRestores) {
    Book b;
    b.trayAvailable = false;
    b.book.ImageMinSizeClick();
    QCoreApplication::processEvents();
    EXPECT_TRUE(b.book.isVisible());
    EXPECT_TRUE(b.book.isMinimized());
    EXPECT_FALSE(b.book.BookShown());
    EXPECT_EQ(b.Caption(b.book.Menus->ItemShow), QStringLiteral("显示书本"));
    b.book.ItemShowClick();
    EXPECT_TRUE(b.book.BookShown());
    // The tray is asked again at each hide.
    b.trayAvailable = true;
    b.book.ImageMinSizeClick();
    EXPECT_FALSE(b.book.isVisible());
}

TEST(WindowStateTest, MinimisingHidesInTheTrayUnlessADialogIsOpen) {
    Book b;
    b.book.showMinimized();
    QCoreApplication::processEvents();
    EXPECT_FALSE(b.book.isVisible());
    b.book.ShowMainForm();
    EXPECT_TRUE(b.book.BookShown());

    QDialog dialog(&b.book);
    dialog.setModal(true);
    dialog.show();
    b.book.showMinimized();
    QCoreApplication::processEvents();
    EXPECT_TRUE(b.book.isVisible());
    b.Tray(Reason::Trigger); // the tray does not react under the dialog either
    EXPECT_TRUE(b.book.isVisible());
    dialog.hide();
}

TEST(WindowStateTest, TrayMenuIsTheMainMenu) {
    Book b;
    b.book.ImageMinSizeClick();
    b.Tray(Reason::Context);
    EXPECT_TRUE(b.book.Menus->MenuMain->isVisible());
    EXPECT_EQ(b.book.Menus->ItemShow->text(), QStringLiteral("显示书本"));
    b.book.Menus->MenuMain->hide();
}

TEST(WindowStateTest, MaximiseAndRestoreKeepThePreMaximiseBounds) {
    Book b;
    const QRect normal = b.book.geometry();
    EXPECT_EQ(b.Caption(b.book.Menus->ItemMax), QStringLiteral("最大化显示"));
    QTest::keyClick(&b.book, Qt::Key_I, Qt::ControlModifier);
    ASSERT_TRUE(b.book.isMaximized());
    EXPECT_EQ(b.book.NormalBoundsRect(), normal);
    EXPECT_EQ(b.Caption(b.book.Menus->ItemMax), QStringLiteral("恢复显示"));
    // Maximising again while maximised never takes the screen's bounds for the normal ones.
    b.book.Setting.Maximized = true;
    b.book.Init_Max();
    EXPECT_EQ(b.book.NormalBoundsRect(), normal);
    b.book.ItemMaxClick();
    EXPECT_FALSE(b.book.isMaximized());
    EXPECT_FALSE(b.book.Setting.Maximized);
}

TEST(WindowStateTest, TheProgramEndsOnlyThroughTheBooksClose) {
    Book b;
    EXPECT_FALSE(QGuiApplication::quitOnLastWindowClosed());
    QSignalSpy closed(&b.book, &TFormMain::FormClosed);
    QSignalSpy lastWindow(qApp, &QGuiApplication::lastWindowClosed);
    b.book.ImageMinSizeClick();
    QDialog box;
    box.show();
    box.close();
    EXPECT_EQ(closed.count(), 0);
    QTest::keyClick(&b.book, Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(b.book.Tray->Icon()->isVisible());
}

// The book is 596 x 380: the move area is 13 x 13 at 583, 353, the resize area at 583, 367.
const QPoint MoveArea(589, 359);
const QPoint ResizeArea(589, 373);
const QPoint LeftPage(150, 200);

void Drag(QWidget& book, QPoint from, QPoint to) {
    QTest::mousePress(&book, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, to, book.mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&book, &move);
    QTest::mouseRelease(&book, Qt::LeftButton, {}, to);
}

TEST(WindowStateTest, HotAreasHandThePressToTheWindowSystem) {
    Book b;
    QTest::mousePress(&b.book, Qt::LeftButton, {}, MoveArea);
    QTest::mouseRelease(&b.book, Qt::LeftButton, {}, MoveArea);
    QTest::mousePress(&b.book, Qt::LeftButton, {}, ResizeArea);
    QTest::mouseRelease(&b.book, Qt::LeftButton, {}, ResizeArea);
    QTest::mousePress(&b.book, Qt::RightButton, {}, MoveArea);
    EXPECT_EQ(b.moves->Requests, (std::vector<std::string>{"move", "resize bottom-right"}));

    b.moves->Requests.clear();
    b.book.Setting.MoveBook = false;
    b.book.Setting.ResizeBook = false;
    QTest::mousePress(&b.book, Qt::LeftButton, {}, MoveArea);
    QTest::mousePress(&b.book, Qt::LeftButton, {}, ResizeArea);
    EXPECT_TRUE(b.moves->Requests.empty());
}

TEST(WindowStateTest, NothingMovesOrResizesWhileMaximised) {
    Book b;
    b.book.ItemMaxClick();
    ASSERT_TRUE(b.book.isMaximized());
    const QRect full = b.book.rect();
    const QPoint move(full.width() - 7, full.height() - 21),
        resize(full.width() - 7, full.height() - 7);
    QTest::mousePress(&b.book, Qt::LeftButton, {}, move);
    QTest::mousePress(&b.book, Qt::LeftButton, {}, resize);
    Drag(b.book, LeftPage, LeftPage + QPoint(40, 30));
    EXPECT_TRUE(b.moves->Requests.empty());
}

TEST(WindowStateTest, DraggingAPageMovesTheBookAndTurnsNothing) {
    Book b;
    std::string lines;
    for (int i = 0; i < 27 * 20; ++i)
        lines += "x\r\n";
    b.book.ShowOpened("/books/test.txt", {MakeChunk(lines)});
    b.book.ChangeYe(5);
    Drag(b.book, LeftPage, LeftPage + QPoint(40, 30));
    EXPECT_EQ(b.moves->Requests, (std::vector<std::string>{"move"}));
    EXPECT_EQ(b.book.Book.CurrentPage(), 5);
    // Without movement the press is a click: the left page turns back.
    QTest::mouseClick(&b.book, Qt::LeftButton, {}, LeftPage);
    EXPECT_EQ(b.book.Book.CurrentPage(), 3);
    // With page dragging off, a drag is a click, and the move area still moves the book.
    b.moves->Requests.clear();
    b.book.Setting.DragPageMovesBook = false;
    Drag(b.book, QPoint(450, 200), QPoint(490, 230));
    EXPECT_EQ(b.book.Book.CurrentPage(), 5);
    QTest::mousePress(&b.book, Qt::LeftButton, {}, MoveArea);
    EXPECT_EQ(b.moves->Requests, (std::vector<std::string>{"move"}));
}

} // namespace
