// test-links: mojuan_app
#include "RecordingPrompter.h"
#include "app/Main.h"
#include "records/SettingsStore.h"
#include "window/WebShortcuts.h"

#include <QMimeData>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A book of numbered lines, 200 pages, shown at page 51.
struct EditBook {
    RecordingPrompter prompter;
    ScopedPrompter scope{prompter};
    NoProgress progress;
    Registry reg{""};
    TFormMain book{reg, progress};
    std::string text;

    EditBook() {
        for (int i = 1; i <= 27 * 200; ++i)
            text += std::to_string(i) + "\r\n";
        book.ShowOpened("/books/numbers.txt", {MakeChunk(text)});
        book.ChangeYe(51);
        book.show();
    }
    std::string Shown() {
        std::string all;
        for (const Chunk& chunk : book.Book.Document().ShownChunk)
            all += *chunk;
        return all;
    }
    void Key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers mods = {}) {
        QTest::keyClick(target, key, mods);
    }
};

TEST(EditWindowTest, EditModeCoversThePagesAndLocksEverythingElse) {
    EditBook b;
    b.book.Setting.ShowUnderline = true;
    b.book.ItemBIG5Click(b.book.Menus->ItemUnderLine); // the underline off, then on again
    b.book.ItemBIG5Click(b.book.Menus->ItemUnderLine);
    ASSERT_TRUE(b.book.UnderlineShown());
    b.Key(&b.book, Qt::Key_E, Qt::ControlModifier);
    ASSERT_TRUE(b.book.InEditMode());
    const BookGeometry& g = b.book.Layout();
    EXPECT_EQ(b.book.MemoEdit(1)->geometry(),
              QRect(g.Page1Left, g.PageTop - 3, g.PageWidth, g.PageHeight + 3));
    EXPECT_EQ(b.book.MemoEdit(2)->geometry(),
              QRect(g.Page2Left - 5, g.PageTop - 3, g.PageWidth, g.PageHeight + 3));
    EXPECT_TRUE(b.book.MemoEdit(1)->isVisible());
    EXPECT_FALSE(b.book.UnderlineShown());
    EXPECT_TRUE(b.book.MemoEdit(1)->toPlainText().startsWith(QStringLiteral("1351\n")));

    // Neither the keyboard map, the page turns nor a main-menu shortcut acts.
    b.Key(&b.book, Qt::Key_B, Qt::ControlModifier);
    b.Key(&b.book, Qt::Key_PageDown);
    b.book.ImagePageNextClick();
    EXPECT_FALSE(b.book.Setting.ConvertBig5);
    EXPECT_EQ(b.book.Book.CurrentPage(), 51);
    EXPECT_FALSE(b.book.Menus->ItemDeal->menuAction()->isEnabled());
    emit b.book.Menus->MenuMain->aboutToShow(); // the tray's menu opening while editing
    for (QAction* item : b.book.Menus->MenuMain->actions())
        EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();

    // A drop is refused; a resize only moves the boxes.
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/x.txt"))});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &files, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&b.book, &enter);
    EXPECT_FALSE(enter.isAccepted());
    const int pages = b.book.Book.PageCount();
    b.book.resize(b.book.width() + 100, b.book.height() + 60);
    EXPECT_EQ(b.book.Book.PageCount(), pages);
    EXPECT_EQ(b.book.MemoEdit(2)->x(), b.book.Layout().Page2Left - 5);
    EXPECT_TRUE(b.book.InEditMode());

    // Leaving without a change asks nothing; the pages catch up with the new size.
    b.Key(b.book.MemoEdit(1), Qt::Key_Escape);
    EXPECT_FALSE(b.book.InEditMode());
    EXPECT_TRUE(b.prompter.Prompts.empty());
    EXPECT_NE(b.book.Book.PageCount(), pages);
    EXPECT_TRUE(b.book.UnderlineShown());
    EXPECT_TRUE(b.book.Menus->ItemDeal->menuAction()->isEnabled());
    EXPECT_EQ(b.Shown(), b.text);
}

TEST(EditWindowTest, SavingPutsTheTextBackAndReturnsToThePage) {
    EditBook b;
    b.book.ItemEditClick();
    b.book.MemoEdit(1)->insertPlainText(QStringLiteral("改"));
    b.Key(b.book.MemoEdit(1), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(b.book.InEditMode());
    EXPECT_EQ(b.book.Book.CurrentPage(), 51);
    EXPECT_EQ(b.book.ShownPages().Left.substr(0, 6), "\xB8\xC4" // 改 in GBK
                                                     "1351");
}

TEST(EditWindowTest, EscAsksBeforeDroppingAChangeAndARefusedSaveStaysInTheBoxes) {
    EditBook b;
    b.book.ItemEditClick();
    QTest::keyClicks(b.book.MemoEdit(2), QStringLiteral("x"));
    b.prompter.Answers = {false};
    b.Key(b.book.MemoEdit(2), Qt::Key_Escape);
    ASSERT_EQ(b.prompter.Prompts.size(), 1u);
    EXPECT_EQ(b.prompter.Prompts[0].Type, Prompt::Confirm);
    EXPECT_TRUE(b.book.InEditMode());

    b.book.MemoEdit(2)->insertPlainText(QString(QChar(0xFFFD))); // stands for bytes, no character
    b.book.ItemSaveEditClick();
    ASSERT_EQ(b.prompter.Prompts.size(), 2u);
    EXPECT_EQ(b.prompter.Prompts[1].Type, Prompt::Warning);
    EXPECT_TRUE(b.book.InEditMode());
    EXPECT_EQ(b.Shown(), b.text);

    b.prompter.Answers = {true};
    b.Key(b.book.MemoEdit(2), Qt::Key_Escape);
    EXPECT_FALSE(b.book.InEditMode());
    EXPECT_EQ(b.Shown(), b.text);
}

TEST(EditWindowTest, TheHelpTextIsNotEdited) {
    EditBook b;
    b.book.ShowHelpText();
    emit b.book.Menus->MenuMain->aboutToShow();
    EXPECT_FALSE(b.book.Menus->ItemEdit->isEnabled());
    b.book.ItemEditClick();
    EXPECT_FALSE(b.book.InEditMode());
}

TEST(EditWindowTest, CtrlCOpensTheFirstWebShortcutWithoutShowingTheBook) {
    EditBook b;
    std::vector<QUrl> opened;
    const UrlOpener previous = SetUrlOpener([&](const QUrl& url) { opened.push_back(url); });
    b.book.hide();
    emit b.book.Menus->MenuMain->aboutToShow();
    b.book.Menus->ItemReadClip->trigger(); // chosen from the tray menu
    b.Key(&b.book, Qt::Key_C, Qt::ControlModifier);
    SetUrlOpener(previous);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], QUrl(QString::fromLatin1(WebShortcuts[0].Address)));
    EXPECT_EQ(opened[1], opened[0]);
    EXPECT_EQ(opened[0].scheme(), QStringLiteral("https"));
    EXPECT_FALSE(b.book.isVisible());
}

TEST(EditWindowTest, QuitShutsDownAsAClose) {
    EditBook b;
    b.book.ChangeYe(7);
    b.Key(&b.book, Qt::Key_T, Qt::ControlModifier);
    EXPECT_FALSE(b.book.isVisible());
    const std::string page = b.reg.ReadRegStr(FileKey, "上次关闭文件页码", "");
    EXPECT_EQ(page, "7");
}

} // namespace
