// test-links: mojuan_app
#include "RecordingPrompter.h"
#include "StoreTestSupport.h"
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

struct Book {
    RecordingPrompter prompter;
    ScopedPrompter scope{prompter};
    NoProgress progress;
    Registry reg{""};
    TFormMain book{reg, progress};
    qint64 now = 0;
    bool trayAvailable = true;

    Book() {
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

TEST(WindowStateTest, TrayMenuOpensAtThePointerButNotWhileEditing) {
    Book b;
    b.book.Menus->MenuMain->setObjectName(QStringLiteral("MenuMain"));
    b.Tray(Reason::Context);
    EXPECT_TRUE(b.book.Menus->MenuMain->isVisible());
    b.book.Menus->MenuMain->hide();
    b.book.EditMode = true;
    b.Tray(Reason::Context);
    EXPECT_FALSE(b.book.Menus->MenuMain->isVisible());
}

TEST(WindowStateTest, MaximiseAndRestoreKeepThePreMaximiseBounds) {
    Book b;
    const QRect normal = b.book.geometry();
    EXPECT_EQ(b.Caption(b.book.Menus->ItemMax), QStringLiteral("最大化显示"));
    QTest::keyClick(&b.book, Qt::Key_I, Qt::ControlModifier);
    ASSERT_TRUE(b.book.isMaximized());
    EXPECT_EQ(b.book.NormalBounds, normal);
    EXPECT_EQ(b.Caption(b.book.Menus->ItemMax), QStringLiteral("恢复显示"));
    // Maximising again while maximised never takes the screen's bounds for the normal ones.
    b.book.Setting.Maximized = true;
    b.book.Init_Max();
    EXPECT_EQ(b.book.NormalBounds, normal);
    b.book.ItemMaxClick();
    EXPECT_FALSE(b.book.isMaximized());
    EXPECT_FALSE(b.book.Setting.Maximized);
}

TEST(WindowStateTest, ClosingWhileMaximisedStoresTheNormalBounds) {
    ScratchDir dir;
    RecordingPrompter prompter;
    ScopedPrompter scope(prompter);
    NoProgress progress;
    {
        Registry reg(dir / "registry.sqlite3");
        TFormMain book(reg, progress);
        book.show();
        book.ItemMaxClick();
        ASSERT_TRUE(book.isMaximized());
        book.close();
    }
    Registry reg(dir / "registry.sqlite3");
    EXPECT_EQ(reg.ReadRegInt(SettingsRoot, "窗口宽度", 0), 596);
    EXPECT_EQ(reg.ReadRegInt(SettingsRoot, "窗口高度", 0), 380);
    EXPECT_EQ(reg.ReadRegInt(SettingsRoot, "窗口左位置", 0), 100);
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

} // namespace
