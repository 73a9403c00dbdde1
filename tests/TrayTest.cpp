// test-links: mojuan_window
#include "window/Tray.h"

#include <QDialog>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

using Reason = QSystemTrayIcon::ActivationReason;

TEST(TrayTest, OneGestureTogglesOnceWhateverTheTraySends) {
    // An activation per press: a double click arrives as two within the interval.
    TrayClickFilter twoTriggers(400);
    EXPECT_TRUE(twoTriggers.Accept(Reason::Trigger, 1000));
    EXPECT_FALSE(twoTriggers.Accept(Reason::Trigger, 1200));
    EXPECT_TRUE(twoTriggers.Accept(Reason::Trigger, 2000));
    // An activation, then a double click for the second press.
    TrayClickFilter triggerThenDouble(400);
    EXPECT_TRUE(triggerThenDouble.Accept(Reason::Trigger, 1000));
    EXPECT_FALSE(triggerThenDouble.Accept(Reason::DoubleClick, 1150));
    EXPECT_TRUE(triggerThenDouble.Accept(Reason::Trigger, 3000));
    // Double clicks alone: each one toggles, even in quick succession.
    TrayClickFilter doublesOnly(400);
    EXPECT_TRUE(doublesOnly.Accept(Reason::DoubleClick, 1000));
    EXPECT_TRUE(doublesOnly.Accept(Reason::DoubleClick, 1300));
    EXPECT_FALSE(doublesOnly.Accept(Reason::MiddleClick, 5000));
    EXPECT_FALSE(doublesOnly.Accept(Reason::Context, 6000));
}

TEST(TrayTest, ClicksAskForTheBookAndTheMenuExceptUnderAModalDialog) {
    BookTray tray;
    qint64 now = 0;
    tray.Now = [&now] { return now; };
    EXPECT_EQ(tray.Icon()->toolTip(), QStringLiteral("墨卷"));
    EXPECT_FALSE(tray.Icon()->icon().isNull());
    QSignalSpy toggles(&tray, &BookTray::ToggleRequested);
    QSignalSpy menus(&tray, &BookTray::MenuRequested);
    emit tray.Icon()->activated(Reason::Trigger);
    now += 1000;
    emit tray.Icon()->activated(Reason::Context);
    EXPECT_EQ(toggles.count(), 1);
    EXPECT_EQ(menus.count(), 1);

    QDialog dialog;
    dialog.setModal(true);
    dialog.show();
    now += 1000;
    emit tray.Icon()->activated(Reason::Trigger);
    emit tray.Icon()->activated(Reason::DoubleClick);
    emit tray.Icon()->activated(Reason::Context);
    EXPECT_EQ(toggles.count(), 1);
    EXPECT_EQ(menus.count(), 1);
    dialog.hide();
    now += 1000;
    emit tray.Icon()->activated(Reason::DoubleClick);
    EXPECT_EQ(toggles.count(), 2);
    // No menu while the text is being edited; the clicks still toggle the book.
    tray.MenuAllowed = [] { return false; };
    emit tray.Icon()->activated(Reason::Context);
    EXPECT_EQ(menus.count(), 1);
}

} // namespace
