// test-links: mojuan_window
#include "window/Mess.h"

#include "TestSupport.h"

#include <QLabel>
#include <QPaintEvent>
#include <QProgressBar>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

// Counts the paints a widget receives while its window is exposed, that is while what it draws
// reaches the screen: a paint of a window not yet exposed shows nothing.
class ExposedPaints : public QObject {
public:
    explicit ExposedPaints(QWidget& widget) : Widget(widget) { Widget.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && Exposed())
            ++Count;
        return false;
    }
    bool Exposed() const {
        const QWindow* window = Widget.window()->windowHandle();
        return window && window->isExposed();
    }
    int Count = 0;

private:
    QWidget& Widget;
};

class MessTest : public testing::Test {
protected:
    MessTest() : Book(nullptr, Qt::FramelessWindowHint), Mess(nullptr, 0) {
        Book.setGeometry(100, 50, 596, 380);
        Book.show();
        Mess.SetMainForm(&Book, [this] { ++ShowMainFormCalls; });
    }

    // How far along the bar the dark fill reaches over its light ground, as a fraction of the
    // bar's inside: read from the rendered box, so it checks what the user sees.
    double FilledFraction() {
        const QImage image = Mess.grab().toImage();
        const QRect bar = Mess.CompPer->geometry().adjusted(1, 1, -1, -1); // inside its border
        const int y = bar.center().y();
        int filled = 0;
        while (filled < bar.width() && qGray(image.pixel(bar.left() + filled, y)) < 200)
            ++filled;
        return double(filled) / bar.width();
    }

    QWidget Book;
    TFormMess Mess;
    int ShowMainFormCalls = 0;
};

} // namespace

TEST_F(MessTest, BoxHasItsDesignSizeAndParts) {
    EXPECT_EQ(Mess.size(), QSize(124, 38));
    EXPECT_TRUE(Mess.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(Mess.PanelMsgShow->geometry().top(), 1);
    EXPECT_EQ(Mess.PanelMsgShow->height(), 18);
    EXPECT_EQ(Mess.CompPer->geometry(), QRect(7, 21, 111, 11));
}

TEST_F(MessTest, InitShowMessShowsCaptionAndEmptyBar) {
    Mess.InitShowMess(0, 5, "打开文件");
    EXPECT_TRUE(Mess.isVisible());
    EXPECT_EQ(Mess.PanelMsgShow->text(), QStringLiteral("打开文件"));
    EXPECT_EQ(Mess.CompPer->value(), 0);
    EXPECT_EQ(FilledFraction(), 0.0);
}

TEST_F(MessTest, BarStandsAtThreeFifths) {
    Mess.InitShowMess(0, 5, "打开文件");
    Mess.ShowMessPos(3);
    EXPECT_EQ(Mess.CompPer->value(), 3);
    EXPECT_NEAR(FilledFraction(), 0.6, 0.03);
    Mess.grab().save(QString::fromStdString(testsupport::ArtifactPath("mess.png")));
}

TEST_F(MessTest, PositionsOutsideTheRangeFillOrEmptyTheBar) {
    Mess.InitShowMess(10, 20, "处理文本");
    Mess.ShowMessPos(15);
    Mess.ShowMessPos(99);
    EXPECT_EQ(Mess.CompPer->value(), 20);
    EXPECT_NEAR(FilledFraction(), 1.0, 0.01);
    Mess.ShowMessPos(-4);
    EXPECT_EQ(Mess.CompPer->value(), 10);
}

TEST_F(MessTest, EmptyRangeDoesNotBreakTheBar) {
    Mess.InitShowMess(0, 0, "初始化书本");
    Mess.ShowMessPos(0);
    Mess.InitShowMess(5, 2, "初始化书本");
    Mess.ShowMessPos(3);
    EXPECT_TRUE(Mess.isVisible());
}

// The callers run their loops without returning to the event loop, so the box must be on the
// screen and drawn when InitShowMess and every ShowMessPos return, also when a step shows a
// closed box again.
TEST_F(MessTest, BoxIsExposedAndPaintedWhenEachStepReturns) {
    ExposedPaints caption(*Mess.PanelMsgShow);
    ExposedPaints bar(*Mess.CompPer);
    Mess.InitShowMess(0, 3, "打开文件");
    EXPECT_TRUE(bar.Exposed());
    EXPECT_GE(caption.Count, 1);
    EXPECT_GE(bar.Count, 1);
    for (int k = 1; k <= 3; ++k) {
        const int before = bar.Count;
        Mess.ShowMessPos(k);
        EXPECT_GT(bar.Count, before) << "step " << k;
    }
    Mess.CloseShowMess();
    const int captionBefore = caption.Count;
    Mess.ShowMessPos(2);
    EXPECT_TRUE(bar.Exposed());
    EXPECT_GT(caption.Count, captionBefore);
}

TEST_F(MessTest, BoxIsCentredOnTheBook) {
    Mess.InitShowMess(0, 5, "打开文件");
    EXPECT_EQ(Mess.pos(), QPoint(336, 221));
}

TEST_F(MessTest, BoxFollowsTheBookAtEveryShowing) {
    Mess.InitShowMess(0, 5, "打开文件");
    Mess.CloseShowMess();
    Book.setGeometry(0, 0, 127, 80);
    Mess.InitShowMess(0, 5, "打开文件");
    EXPECT_EQ(Mess.pos(), QPoint(1, 21)); // odd differences are truncated
    Mess.CloseShowMess();
    Book.setGeometry(300, 200, 596, 380);
    Mess.ShowMessPos(1); // shows the closed box again, centred anew
    EXPECT_TRUE(Mess.isVisible());
    EXPECT_EQ(Mess.pos(), QPoint(536, 371));
}

TEST_F(MessTest, CloseShowMessHidesAndBringsUpAVisibleBook) {
    Mess.InitShowMess(0, 2, "保存文件");
    Mess.CloseShowMess();
    EXPECT_FALSE(Mess.isVisible());
    EXPECT_EQ(ShowMainFormCalls, 1);
}

TEST_F(MessTest, CloseShowMessLeavesAHiddenBookHidden) {
    Book.hide();
    Mess.InitShowMess(0, 2, "生成书库文件");
    Mess.CloseShowMess();
    EXPECT_FALSE(Mess.isVisible());
    EXPECT_EQ(ShowMainFormCalls, 0);
}

TEST(MessWithoutBookTest, WorksBeforeTheBookExists) {
    TFormMess mess(nullptr, 0);
    mess.InitShowMess(0, 3, "打开文件");
    mess.ShowMessPos(2);
    mess.CloseShowMess();
    EXPECT_FALSE(mess.isVisible());
}

// Work the pace says ends before the threshold never puts the box up, nor the book to the front.
TEST_F(MessTest, QuickWorkShowsNoBox) {
    TFormMess quick(nullptr, 60000);
    int raised = 0;
    quick.SetMainForm(&Book, [&raised] { ++raised; });
    quick.InitShowMess(0, 3, "打开文件");
    for (int k = 1; k <= 3; ++k)
        quick.ShowMessPos(k);
    EXPECT_FALSE(quick.isVisible());
    quick.CloseShowMess();
    EXPECT_EQ(raised, 0);
}

TEST(ProgressPaceTest, BoxOnlyForWorkExpectedToTakeLong) {
    EXPECT_FALSE(WorthShowing(0, 89, 10, 150));
    EXPECT_TRUE(WorthShowing(0, 89, 151, 150)); // the first step alone took long
    EXPECT_FALSE(WorthShowing(10, 89, 10, 150)); // 89 ms at this pace
    EXPECT_TRUE(WorthShowing(10, 89, 20, 150));  // 178 ms
    EXPECT_FALSE(WorthShowing(89, 89, 140, 150)); // all done: nothing left to show
}
