// test-links: mojuan_app
#include "RecordingPrompter.h"
#include "StoreTestSupport.h"
#include "app/Main.h"
#include "records/SettingsStore.h"
#include "records/TempDir.h"

#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

struct Session {
    RecordingPrompter prompter;
    ScopedPrompter scope{prompter};
    NoProgress progress;
};

TEST(StartupTest, FirstStartShowsHelpTextAtDefaultBoundsAndCloseStoresIt) {
    ScratchDir dir;
    Session run;
    {
        Registry reg(dir / "registry.sqlite3");
        TFormMain book(reg, run.progress);
        book.show();
        EXPECT_EQ(book.geometry(), QRect(100, 50, 596, 380));
        EXPECT_TRUE(book.Book.DocumentName().empty());
        EXPECT_EQ(book.Book.CurrentPage(), 1);
        EXPECT_EQ(book.Book.LinesPerPage(), 27);              // page height 330 at a 12-pixel line
        EXPECT_EQ(book.ShownPages().Left.substr(0, 2), "  "); // the help text's centred title
        book.close();
    }
    Registry reg(dir / "registry.sqlite3");
    EXPECT_EQ(reg.ReadRegStr(SettingsRoot, "注册", ""), "Vesk");
    EXPECT_EQ(reg.ReadRegStr(FileKey, "上次关闭文件", "x"), "");
    EXPECT_EQ(reg.ReadRegInt(FileKey, "上次关闭文件索引", 5), -1);
    EXPECT_EQ(reg.ReadRegInt(FileKey, "上次关闭文件页码", 5), 0);
    EXPECT_EQ(reg.ReadRegInt(SettingsRoot, "窗口宽度", 0), 596);
    EXPECT_TRUE(run.prompter.Prompts.empty());
}

// Another process holds the store at start: the book shows at once on the defaults, and when
// the store frees, its settings are read and the last document is reopened.
TEST(StartupTest, AStoreHeldAtStartIsReadWhenItFrees) {
    ScratchDir dir;
    Session run;
    const std::string doc = dir / "a.txt";
    WriteFile(doc, "text\r\n");
    {
        Registry reg(dir / "registry.sqlite3");
        TFormMain book(reg, run.progress, {doc});
        book.close();
        reg.WriteRegInt(SettingsRoot, "窗口宽度", 800);
    }
    auto lock = std::make_unique<StoreLock>(dir / "registry.sqlite3");
    ASSERT_TRUE(lock->Locked);
    Registry reg(dir / "registry.sqlite3", {200, 200});
    EXPECT_TRUE(reg.Held());
    TFormMain book(reg, run.progress);
    EXPECT_EQ(book.width(), 596);
    EXPECT_FALSE(book.Book.HasDocument());
    lock.reset();
    book.RetryStore();
    EXPECT_EQ(book.width(), 800);
    EXPECT_EQ(book.Book.DocumentName(), doc);
    EXPECT_TRUE(run.prompter.Prompts.empty());
}

// Held at close: the save is tried again for a few seconds, then the reader is told plainly
// that the changes were not kept (not that the program goes on as usual).
TEST(StartupTest, AStoreHeldAtCloseIsRetriedThenTheLossIsTold) {
    ScratchDir dir;
    Session run;
    Registry reg(dir / "registry.sqlite3", {200});
    reg.SetFailureReporter([](const std::string& message) { ShowWarning(message); });
    TFormMain book(reg, run.progress);
    StoreLock lock(dir / "registry.sqlite3");
    ASSERT_TRUE(lock.Locked);
    book.close();
    EXPECT_EQ(run.prompter.Prompts,
              (std::vector<Prompt>{{Prompt::Warning, CloseNotSavedText}}));
}

TEST(StartupTest, FirstPaginationUsesStoredFontAndBookSize) {
    ScratchDir dir;
    Session run;
    {
        Registry reg(dir / "registry.sqlite3");
        Settings defaults;
        LoadSettings(reg, defaults); // the first run writes the defaults
        reg.WriteRegInt(SettingsRoot, "窗口宽度", 800);
        reg.WriteRegInt(SettingsRoot, "窗口高度", 600);
        reg.WriteRegInt(FontKey, "页面字体大小", 12); // 16 pixels at 96 dots per inch
    }
    Registry reg(dir / "registry.sqlite3");
    TFormMain book(reg, run.progress);
    EXPECT_EQ(book.Layout().PageHeight, 521);
    EXPECT_EQ(book.PagePitch(), 16);
    EXPECT_EQ(book.Book.LinesPerPage(), 521 / 16);
    EXPECT_EQ(book.Book.Document().TestHeight, 64);
}

TEST(StartupTest, ClosingMaximisedStoresTheBoundsBeforeMaximising) {
    ScratchDir dir;
    Session run;
    {
        Registry reg(dir / "registry.sqlite3");
        Settings defaults;
        LoadSettings(reg, defaults);
        reg.WriteRegBool(SettingsRoot, "最大化显示", true);
        reg.WriteRegInt(SettingsRoot, "窗口左位置", 120);
    }
    {
        Registry reg(dir / "registry.sqlite3");
        TFormMain book(reg, run.progress);
        book.show();
        QTest::qWait(20);
        EXPECT_TRUE(book.windowState() & Qt::WindowMaximized);
        EXPECT_EQ(book.NormalBoundsRect(), QRect(120, 50, 596, 380));
        book.close();
    }
    Registry reg(dir / "registry.sqlite3");
    EXPECT_EQ(reg.ReadRegInt(SettingsRoot, "窗口左位置", 0), 120);
    EXPECT_EQ(reg.ReadRegInt(SettingsRoot, "窗口宽度", 0), 596);
    EXPECT_EQ(reg.ReadRegInt(SettingsRoot, "窗口高度", 0), 380);
}

TEST(StartupTest, CloseReturnsToStartDirectoryAndRemovesTempDir) {
    ScratchDir dir;
    Session run;
    Registry reg(dir / "registry.sqlite3");
    TFormMain book(reg, run.progress);
    ASSERT_TRUE(PrepareTempDir(book.TempFolder()));
    WriteFile(book.TempFolder() + "/entry.txt", "x");
    ASSERT_TRUE(ChangeDir(book.TempFolder()));
    book.close();
    EXPECT_EQ(CurrentDir(), book.StartFolder());
    EXPECT_FALSE(std::filesystem::exists(book.TempFolder()));
}

TEST(StartupTest, UnreadableBackgroundPictureWarnsAndFallsBackToSkin) {
    ScratchDir dir;
    Session run;
    Registry reg(dir / "registry.sqlite3");
    TFormMain book(reg, run.progress);
    book.Setting.UseBackgroundImage = true;
    book.Setting.BackgroundImageFile = dir / "book.emf";
    WriteFile(book.Setting.BackgroundImageFile, "not a picture");
    book.Changes.ImageChanged = true;
    book.Init_Setup();
    EXPECT_FALSE(book.Setting.UseBackgroundImage);
    ASSERT_EQ(run.prompter.Prompts.size(), 1u);
    EXPECT_EQ(run.prompter.Prompts[0].Text,
              "打开背景图片文件 " + (dir / "book.emf") + " 失败！\r\n系统将使用默认背景图片。");
    // An empty file name turns the option off without a word.
    book.Setting.UseBackgroundImage = true;
    book.Setting.BackgroundImageFile.clear();
    book.Changes.ImageChanged = true;
    book.Init_Setup();
    EXPECT_FALSE(book.Setting.UseBackgroundImage);
    EXPECT_EQ(run.prompter.Prompts.size(), 1u);
}

// Counts the paginations ("初始化书本").
struct CountingProgress : ProgressWindow {
    int Paginations = 0;
    void InitShowMess(int, int, const std::string& text) override {
        Paginations += text == "初始化书本";
    }
    void ShowMessPos(int) override {}
    void CloseShowMess() override {}
};

// A book that starts maximised is laid out at its maximised size before its first pagination,
// so a large novel is paginated once, not once normal and again maximised.
TEST(StartupTest, AMaximisedStartPaginatesOnce) {
    ScratchDir dir;
    Session run;
    {
        Registry reg(dir / "registry.sqlite3");
        Settings defaults;
        LoadSettings(reg, defaults);
        reg.WriteRegBool(SettingsRoot, "最大化显示", true);
    }
    const std::string novel = dir / "novel.txt";
    WriteFile(novel, std::string(20000, 'x'));
    Registry reg(dir / "registry.sqlite3");
    CountingProgress progress;
    TFormMain book(reg, progress, std::vector<std::string>{novel});
    book.show();
    QTest::qWait(50);
    ASSERT_TRUE(book.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(progress.Paginations, 1);
    EXPECT_EQ(book.Layout().ImageBook.size(), book.size());
    EXPECT_EQ(book.NormalBoundsRect(), QRect(100, 50, 596, 380));
}

} // namespace
