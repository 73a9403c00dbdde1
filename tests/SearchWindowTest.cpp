// test-links: mojuan_app
#include "DialogTestSupport.h"
#include "RecordingPrompter.h"
#include "app/Main.h"
#include "dialogs/SearchAll.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A book of 200 pages of 27 numbered lines, "L1" to "L5400".
struct SearchBook : testing::Test {
    RecordingPrompter prompts;
    ScopedPrompter installed{prompts};
    NoProgress progress;
    Registry reg{""};
    TFormMain book{reg, progress};

    SearchBook() {
        std::string text;
        for (int i = 1; i <= 27 * 200; ++i)
            text += "L" + std::to_string(i) + "\r\n";
        text.resize(text.size() - 2);
        book.ShowOpened("/books/numbers.txt", {MakeChunk(text)});
        book.ChangeYe(1);
        book.show();
    }
    // Runs the search dialog with `text` typed and OK or Cancel pressed.
    [[nodiscard]] DialogAnswer Answer(const QString& text, bool ok = true, bool matchCase = false) {
        return DialogAnswer::For<TFormSearch>([=](TFormSearch* dialog) {
            dialog->EditFindText->setEditText(text);
            dialog->CheckBoxCaps->setChecked(matchCase);
            (ok ? dialog->BtnOk : dialog->BtnCancel)->click();
        });
    }
    void Key(int key, Qt::KeyboardModifiers mods = {}) {
        QTest::keyClick(&book, static_cast<Qt::Key>(key), mods);
    }
};

TEST_F(SearchBook, HitTurnsThePageAndPutsTheUnderlineUnderIt) {
    book.Setting.AutoPageTurn = true;
    auto answer1 = Answer("l100"); // letters fold; L100 comes before L1000
    Key(Qt::Key_F3, Qt::ControlModifier);
    // L100 is line 100: page 4, line 19, the right page of pair 3-4.
    EXPECT_EQ(book.Book.CurrentPage(), 3);
    EXPECT_TRUE(book.UnderlineOnRightPage());
    EXPECT_EQ(book.UnderlineRow(), 19);
    EXPECT_TRUE(book.UnderlineShown());
    EXPECT_TRUE(book.Setting.ShowUnderline);
    EXPECT_FALSE(book.Setting.AutoPageTurn);
    EXPECT_EQ(book.UnderlineRect().left(), book.Layout().Page2Left);
}

TEST_F(SearchBook, ShiftF3GoesBackToTheHitBeforeTheUnderline) {
    auto answer = Answer("L10");
    Key(Qt::Key_F3, Qt::ControlModifier);
    Key(Qt::Key_F3);
    EXPECT_EQ(book.Book.CurrentPage(), 3); // L100
    Key(Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(book.Book.CurrentPage(), 1);
    EXPECT_EQ(book.UnderlineRow(), 10);
    Key(Qt::Key_F3, Qt::ShiftModifier); // nothing before L10
    EXPECT_EQ(prompts.Prompts.size(), 1u);
}

TEST_F(SearchBook, TheHitListShowsTheChosenHitUnderlined) {
    auto answer = Answer("L539");
    int rows = 0;
    book.RunDialog = [&](QDialog& dialog) {
        auto& list = dynamic_cast<TFormSearchAll&>(dialog);
        while (list.More()) {
        }
        rows = list.ListHits->count();
        list.ListHits->setCurrentRow(3);
        return QDialog::Accepted;
    };
    book.Menus->ItemSearchAll->trigger();
    EXPECT_EQ(rows, 11); // L539, L5390 ... L5399
    EXPECT_EQ(book.Book.CurrentPage(), 199); // L5392: page 200, line 19
    EXPECT_EQ(book.UnderlineRow(), 19);
    EXPECT_TRUE(book.UnderlineOnRightPage());
}

TEST_F(SearchBook, FindNextGoesOnBelowTheHit) {
    auto answer2 = Answer("L539");
    book.ItemSearchClick();
    EXPECT_EQ(book.Book.CurrentPage(), 19); // line 539 is line 26 of page 20
    EXPECT_EQ(book.UnderlineRow(), 26);
    Key(Qt::Key_F3); // L5390 is line 5390: page 200, line 17
    EXPECT_EQ(book.Book.CurrentPage(), 199);
    EXPECT_TRUE(book.UnderlineOnRightPage());
    EXPECT_EQ(book.UnderlineRow(), 17);
}

// With the underline hidden and the menu not opened since, the check mark still reads hidden;
// find-next must still not stop at the hit it has just shown.
TEST_F(SearchBook, FindNextNeverShowsTheSameHitAgain) {
    book.Setting.ShowUnderline = false;
    auto answer3 = Answer("L5399", true, true);
    book.ItemSearchClick();
    EXPECT_EQ(book.Book.CurrentPage(), 199);
    EXPECT_EQ(book.UnderlineRow(), 26);
    Key(Qt::Key_F3); // none below: told, and the place stays
    ASSERT_EQ(prompts.Prompts.size(), 1u);
    EXPECT_EQ(prompts.Prompts[0], (Prompt{Prompt::Info, "没有查找到 “L5399”。"}));
    EXPECT_EQ(book.Book.CurrentPage(), 199);
    EXPECT_EQ(book.UnderlineRow(), 26);
}

TEST_F(SearchBook, HistoryHasNoCaseOnlyDuplicatesAndEmptyTextOpensTheDialog) {
    auto answer4 = Answer("", false);
    Key(Qt::Key_F3); // nothing to find yet: the dialog opens, and is cancelled
    EXPECT_EQ(book.Book.CurrentPage(), 1);
    auto answer5 = Answer("abc");
    book.ItemSearchClick();
    auto answer6 = Answer("Abc");
    book.ItemSearchClick();
    auto answer7 = Answer("xyz", false);
    book.ItemSearchClick();
    EXPECT_EQ(book.FormSearch->History(), QStringList{"abc"});
    EXPECT_EQ(prompts.Prompts.size(), 2u); // the two searches found nothing; Cancel searched not
    EXPECT_EQ(prompts.Prompts[1].Text, "没有查找到 “abc”。");
}

TEST_F(SearchBook, TextGbkCannotHoldIsNotFound) {
    auto answer8 = Answer("L1😀");
    book.ItemSearchClick();
    ASSERT_EQ(prompts.Prompts.size(), 1u);
    EXPECT_EQ(prompts.Prompts[0].Text, "没有查找到 “l1😀”。");
    EXPECT_EQ(book.Book.CurrentPage(), 1);
}

} // namespace
