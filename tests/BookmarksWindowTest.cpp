// test-links: mojuan_app
#include "DialogTestSupport.h"
#include "RecordingPrompter.h"
#include "StoreTestSupport.h"
#include "app/Main.h"
#include "dialogs/LabelInput.h"
#include "records/SettingsStore.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Session {
    ScratchDir dir;
    RecordingPrompter prompter;
    ScopedPrompter scope{prompter};
    NoProgress progress;
    std::string Store() const { return dir / "registry.sqlite3"; }
    std::string Book(const std::string& name, int pages = 40) {
        std::string text;
        for (int i = 1; i <= 27 * pages; ++i)
            text += name + std::to_string(i) + "\r\n";
        WriteFile(dir / name, text);
        return dir / name;
    }
};

// Answers the caption dialog with `caption`, or cancels it; records its title and preset.
struct CaptionAnswer {
    QString Title, Preset;
    DialogAnswer Handle;
    explicit CaptionAnswer(std::optional<QString> caption)
        : Handle(DialogAnswer::For<TFormLabelInput>([this, caption](TFormLabelInput* dialog) {
              Title = dialog->windowTitle();
              Preset = dialog->EditLabelInput->selectedText();
              if (caption) {
                  dialog->EditLabelInput->setText(*caption);
                  QTest::keyClick(dialog->EditLabelInput, Qt::Key_Return);
              } else {
                  dialog->BtnCancel->click();
              }
          })) {}
};

QStringList Captions(QMenu* menu) {
    QStringList captions;
    for (QAction* item : menu->actions())
        captions << item->text();
    return captions;
}

void OpenMainMenu(TFormMain& book) {
    emit book.Menus->MenuMain->aboutToShow();
}

TEST(BookmarksWindowTest, AddFollowKeepAcrossRunsAndDelete) {
    Session s;
    const std::string a = s.Book("a.txt");
    {
        Registry reg(s.Store());
        TFormMain book(reg, s.progress, {a});
        book.show();
        book.ChangeYe(12);
        OpenMainMenu(book);
        EXPECT_TRUE(book.Menus->ItemAddLabel->isEnabled());
        EXPECT_FALSE(book.Menus->ItemLabelInput->isEnabled());
        CaptionAnswer answer(QStringLiteral("楔子 & 开端"));
        QTest::keyClick(&book, Qt::Key_L, Qt::ControlModifier);
        EXPECT_EQ(answer.Title, "添加书签");
        EXPECT_EQ(answer.Preset, "第11页");
        // The menu follows at once, without waiting for the next opening.
        EXPECT_FALSE(book.Menus->ItemAddLabel->isEnabled());
        EXPECT_TRUE(book.Menus->ItemDeleteLabel->isEnabled());
        EXPECT_EQ(Captions(book.Menus->ItemLabelInput), QStringList{"楔子 && 开端"});
        EXPECT_EQ(book.Menus->ItemLabelInput->defaultAction(),
                  book.Menus->ItemLabelInput->actions().at(0));
        EXPECT_EQ(reg.ReadRegInt(LabelKey, "49书签0", 0), 11);
        EXPECT_EQ(reg.ReadRegStr(LabelKey, "49书签说明0", ""), "楔子 & 开端");
        book.close();
    }
    Registry reg(s.Store());
    // The next start is at another size: other pages hold the text of pages 11-12.
    reg.WriteRegInt(SettingsRoot, "窗口宽度", 720);
    reg.WriteRegInt(SettingsRoot, "窗口高度", 650);
    TFormMain book(reg, s.progress);
    book.show();
    auto shows = [&book](const std::string& line) {
        return (book.ShownPages().Left + book.ShownPages().Right).find(line) != std::string::npos;
    };
    const std::string firstOfPage11 = "a.txt271\r\n";
    EXPECT_TRUE(shows(firstOfPage11)); // the last place, found at the new size
    EXPECT_NE(book.Book.CurrentPage(), 11);
    ASSERT_EQ(book.Marks->Count(), 1);
    book.ChangeYe(1);
    OpenMainMenu(book);
    EXPECT_EQ(book.Menus->ItemLabelInput->defaultAction(), nullptr);
    book.Menus->ItemLabelInput->actions().at(0)->trigger();
    EXPECT_TRUE(shows(firstOfPage11));
    EXPECT_TRUE(book.LabelOnPage());
    OpenMainMenu(book);
    s.prompter.Answers = {true};
    QTest::keyClick(&book, Qt::Key_Delete);
    ASSERT_EQ(s.prompter.Prompts.size(), 1u);
    EXPECT_EQ(s.prompter.Prompts[0].Text, "删除书签《楔子 & 开端》吗？");
    EXPECT_EQ(book.Marks->Count(), 0);
    EXPECT_FALSE(book.Menus->ItemLabelInput->isEnabled());
    EXPECT_FALSE(book.Menus->ItemDeleteLabel->isEnabled());
    EXPECT_EQ(reg.ReadRegInt(LabelKey, "49书签0", -1), 0);
}

// The items follow the shown pair: after a bookmark was added on one pair, Ctrl+L adds one on
// the next pair without the menu being opened in between, and Del deletes nothing there; a
// changed caption is stored and retitles its item.
TEST(BookmarksWindowTest, ItemsFollowThePairShown) {
    Session s;
    const std::string a = s.Book("a.txt");
    Registry reg(s.Store());
    TFormMain book(reg, s.progress, {a});
    book.show();
    {
        CaptionAnswer answer(QStringLiteral("one"));
        QTest::keyClick(&book, Qt::Key_L, Qt::ControlModifier);
    }
    QTest::keyClick(&book, Qt::Key_Space);
    {
        CaptionAnswer answer(QStringLiteral("two"));
        QTest::keyClick(&book, Qt::Key_L, Qt::ControlModifier);
        EXPECT_EQ(answer.Preset, "第3页");
    }
    EXPECT_EQ(book.Marks->Count(), 2);
    QTest::keyClick(&book, Qt::Key_Space);
    QTest::keyClick(&book, Qt::Key_Delete);
    EXPECT_TRUE(s.prompter.Prompts.empty());
    EXPECT_EQ(book.Marks->Count(), 2);
    book.ChangeYe(1);
    OpenMainMenu(book);
    CaptionAnswer answer(QStringLiteral("改"));
    book.Menus->ItemEditLabel->trigger();
    EXPECT_EQ(answer.Title, "修改书签");
    EXPECT_EQ(answer.Preset, "one");
    EXPECT_EQ(book.Menus->ItemLabelInput->actions().at(0)->text(), "改");
    EXPECT_EQ(reg.ReadRegStr(LabelKey, "49书签说明0", ""), "改");
}

TEST(BookmarksWindowTest, HelpTextHasNoBookmarkCommands) {
    Session s;
    Registry reg(s.Store());
    TFormMain book(reg, s.progress);
    OpenMainMenu(book);
    EXPECT_FALSE(book.Menus->ItemLabel->isEnabled());
    EXPECT_FALSE(book.Menus->ItemLabelInput->isEnabled());
    CaptionAnswer never(QStringLiteral("x"));
    book.ItemAddLabelClick();
    EXPECT_FALSE(never.Handle.Answered());
}

} // namespace
