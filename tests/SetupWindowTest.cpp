// test-links: mojuan_app
#include "RecordingPrompter.h"
#include "StoreTestSupport.h"
#include "TestSupport.h"
#include "app/Main.h"
#include "dialogs/Setup.h"
#include "records/SettingsStore.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

// Counts the long operations the book runs: pagination and each text pass report here.
struct CountingProgress : ProgressWindow {
    std::vector<std::string> Captions;
    void InitShowMess(int, int, const std::string& text) override { Captions.push_back(text); }
    void ShowMessPos(int) override {}
    void CloseShowMess() override {}
    int Count(const std::string& caption) const {
        return static_cast<int>(std::count(Captions.begin(), Captions.end(), caption));
    }
};
constexpr char Paginating[] = "初始化书本";

std::string Lines(int n) {
    std::string text;
    for (int i = 1; i <= n; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    return text;
}

struct Book {
    RecordingPrompter prompter;
    ScopedPrompter scope{prompter};
    CountingProgress progress;
    ScratchDir dir;
    Registry reg{dir / "registry.sqlite3"};
    TFormMain book{reg, progress};

    Book() {
        book.show();
        book.ShowOpened("/books/test.txt", {MakeChunk(Lines(27 * 100))});
        book.ChangeYe(51);
        // A picture that would warn if it were loaded again.
        book.Setting.UseBackgroundImage = true;
        book.Setting.BackgroundImageFile = dir / "missing.jpg";
        progress.Captions.clear();
    }
    // Runs the settings command, letting `act` work the dialog while it is open.
    void Setup(const std::function<void(TFormSetup&)>& act) {
        QTimer::singleShot(0, [act] {
            if (auto* form = qobject_cast<TFormSetup*>(QApplication::activeModalWidget()))
                act(*form);
        });
        book.ItemSetupClick();
    }
    void Apply(SetupGroup group) {
        book.Changes.Clear();
        MarkChanged(book.Changes, group);
        book.Init_Setup();
    }
};

ChangeFlags Cleared() {
    ChangeFlags flags;
    flags.Clear();
    return flags;
}

TEST(SetupWindowTest, OkWithNothingChangedNeitherRepaginatesNorReloadsThePicture) {
    Book b;
    b.Setup([](TFormSetup& f) { f.BtnOk->click(); });
    EXPECT_EQ(b.progress.Count(Paginating), 0);
    EXPECT_TRUE(b.prompter.Prompts.empty());
    EXPECT_EQ(b.book.Book.CurrentPage(), 51);
    EXPECT_EQ(b.book.Changes, Cleared());
}

// A position off the screen brings the book back onto it, as at every start.
TEST(SetupWindowTest, ANewPositionOnlyMovesTheBookAndKeepsItOnTheScreen) {
    Book b;
    b.Setup([](TFormSetup& f) {
        f.EditBookLeft->setText("5000");
        f.EditBookTop->setText("-10");
        f.BtnOk->click();
    });
    const QRect screen = b.book.screen()->availableGeometry();
    EXPECT_EQ(b.book.pos(), QPoint(screen.right() + 1 - 596, screen.top()));
    EXPECT_EQ(b.book.Setting.BookLeft, b.book.x());
    EXPECT_EQ(b.progress.Count(Paginating), 0);
}

TEST(SetupWindowTest, ANewPageFontReflowsAtTheSamePlace) {
    Book b;
    const int lines = b.book.Book.LinesPerPage(), pages = b.book.Book.PageCount();
    b.book.Setting.PageFont.Size = 18;
    b.Apply(SetupGroup::Page);
    EXPECT_EQ(b.progress.Count(Paginating), 1);
    EXPECT_TRUE(b.prompter.Prompts.empty()); // the picture was not loaded again
    EXPECT_LT(b.book.Book.LinesPerPage(), lines);
    EXPECT_GT(b.book.Book.PageCount(), pages);
    // The pair shown holds the line that was first on page 51; the numbers follow it.
    EXPECT_NE((b.book.ShownPages().Left + b.book.ShownPages().Right).find("line 1351\r\n"),
              std::string::npos);
    EXPECT_EQ(b.book.PageNumberGroup(0).Ye.Caption, QString::number(b.book.Book.CurrentPage()));
}

TEST(SetupWindowTest, EachFlagReappliesItsWorkOnly) {
    {
        Book b; // page numbers: placed again, nothing paginated
        b.book.Setting.PageNumberShowTotal[0] = true;
        b.Apply(SetupGroup::Ye);
        EXPECT_EQ(b.book.PageNumberGroup(0).Ye.Caption,
                  QStringLiteral("51/%1").arg(b.book.Book.PageCount()));
        EXPECT_EQ(b.progress.Count(Paginating), 0);
    }
    {
        Book b; // text passes: the document is processed again, then paginated
        b.book.Setting.SmartParagraphs = true;
        b.Apply(SetupGroup::PageDo);
        EXPECT_EQ(b.progress.Count(Paginating), 1);
        EXPECT_GE(b.progress.Captions.size(), 2u);
    }
    {
        Book b; // size: laid out and paginated at the new size
        b.book.Setting.BookWidth = 800;
        b.book.Setting.BookHeight = 600;
        b.Apply(SetupGroup::Window);
        EXPECT_EQ(b.book.size(), QSize(800, 600));
        EXPECT_EQ(b.book.Layout().PageHeight, 521);
        EXPECT_EQ(b.progress.Count(Paginating), 1);
    }
    {
        Book b; // the picture: loaded again, and a missing one warns and falls back
        b.Apply(SetupGroup::Image);
        ASSERT_EQ(b.prompter.Prompts.size(), 1u);
        EXPECT_EQ(b.prompter.Prompts[0].Type, Prompt::Warning);
        EXPECT_FALSE(b.book.Setting.UseBackgroundImage);
        EXPECT_EQ(b.progress.Count(Paginating), 0);
    }
    {
        Book b; // maximised from the dialog, and back
        b.book.Setting.Maximized = true;
        b.Apply(SetupGroup::Max);
        EXPECT_TRUE(b.book.isMaximized());
        EXPECT_EQ(b.book.NormalBoundsRect(), QRect(100, 50, 596, 380));
        b.book.Setting.Maximized = false;
        b.Apply(SetupGroup::Max);
        EXPECT_FALSE(b.book.isMaximized());
    }
}

TEST(SetupWindowTest, TheDialogShowsTheWindowsBoundsAndMaximisedState) {
    Book b;
    b.book.move(130, 70);
    b.book.ItemMaxClick();
    bool shownMaximised = false;
    b.Setup([&](TFormSetup& f) {
        shownMaximised = f.CheckBoxMax->isChecked();
        f.CheckBoxMax->click(); // unmaximise and maximise again: the normal bounds survive
        f.CheckBoxMax->click();
        f.BtnOk->click();
    });
    EXPECT_TRUE(shownMaximised);
    EXPECT_TRUE(b.book.isMaximized());
    EXPECT_EQ(b.book.NormalBoundsRect(), QRect(130, 70, 596, 380));
}

TEST(SetupWindowTest, DefaultsConfirmedClearTheFirstRunMarkAndSayToRestart) {
    Book b;
    b.prompter.Answers = {false, true};
    b.Setup([](TFormSetup& f) {
        f.CheckBoxHangD->click();
        f.BtnDefault->click(); // declined: the dialog stays
        f.BtnDefault->click();
    });
    EXPECT_EQ(b.prompter.Prompts.back(),
              (Prompt{Prompt::Info, "重新启动《墨卷》即可恢复为默认设置。"}));
    EXPECT_EQ(b.reg.ReadRegStr(SettingsRoot, "注册", "x"), "");
    EXPECT_FALSE(b.book.Setting.DoubleSpacing);
    EXPECT_EQ(b.progress.Count(Paginating), 0);
}

TEST(SetupWindowTest, CtrlSOpensTheDialogAndCancelChangesNothing) {
    Book b;
    const Settings before = b.book.Setting;
    QTimer::singleShot(0, [] {
        if (auto* form = qobject_cast<TFormSetup*>(QApplication::activeModalWidget())) {
            form->CheckBoxHangD->click();
            form->BtnCancel->click();
        }
    });
    QTest::keyClick(&b.book, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(b.book.Changes, Cleared());
    EXPECT_EQ(b.book.Setting.DoubleSpacing, before.DoubleSpacing);
    EXPECT_EQ(b.progress.Count(Paginating), 0);
}

} // namespace
