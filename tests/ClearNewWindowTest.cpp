// test-links: mojuan_app
#include "DialogTestSupport.h"
#include "RecordingPrompter.h"
#include "StoreTestSupport.h"
#include "app/Main.h"
#include "dialogs/ArrowButton.h"
#include "dialogs/ClearNewForm.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Ten documents on the recent list, d0 on top and shown.
struct TenOnTheList : testing::Test {
    ScratchDir dir;
    RecordingPrompter prompter;
    ScopedPrompter scope{prompter};
    NoProgress progress;
    std::vector<std::string> files;
    std::unique_ptr<Registry> reg;
    std::unique_ptr<TFormMain> book;

    void SetUp() override {
        std::vector<std::string> names;
        for (int i = 0; i < 10; ++i) {
            files.push_back(dir / ("d" + std::to_string(i) + ".txt"));
            WriteFile(files.back(), "text " + std::to_string(i) + "\r\n");
            names.push_back(files.back());
        }
        reg = std::make_unique<Registry>(dir / "registry.sqlite3");
        book = std::make_unique<TFormMain>(*reg, progress, names);
        book->show();
    }
    // Opens the dialog through the menu item and lets `act` work on it.
    void Run(std::function<void(TFormClearNew*)> act) {
        DialogAnswer answer = DialogAnswer::For<TFormClearNew>(std::move(act));
        emit book->Menus->MenuMain->aboutToShow();
        book->Menus->ItemClearNewItem->trigger();
        ASSERT_TRUE(answer.Answered());
    }
    std::vector<std::string> Entries() { return book->List->Items(); }
};

TEST_F(TenOnTheList, EnterClearsOnlyTheFirstPosition) {
    Run([](TFormClearNew* d) { QTest::keyClick(d->EditFromIndex, Qt::Key_Return); });
    EXPECT_EQ(Entries(), std::vector<std::string>(files.begin() + 1, files.end()));
    EXPECT_EQ(book->List->CurrentIndex, -1); // the open document was at position 1
    emit book->Menus->MenuMain->aboutToShow();
    EXPECT_EQ(book->Menus->ItemNew->defaultAction(), nullptr);
    EXPECT_EQ(book->Book.DocumentName(), files[0]); // still shown
}

TEST_F(TenOnTheList, TypedFromIsCopiedIntoToAndTheRangeIsCleared) {
    Run([](TFormClearNew* d) {
        d->EditFromIndex->selectAll();
        QTest::keyClicks(d->EditFromIndex, "3");
        EXPECT_EQ(d->EditToIndex->text(), "3");
        d->EditToIndex->selectAll();
        QTest::keyClicks(d->EditToIndex, "7");
        d->BtnOk->click();
    });
    ASSERT_EQ(Entries().size(), 5u);
    EXPECT_EQ(Entries()[2], files[7]);
    EXPECT_EQ(book->List->CurrentIndex, 0);
    EXPECT_EQ(book->Menus->ItemNew->actions().at(2)->text().toStdString(), "3) " + files[7]);
}

TEST_F(TenOnTheList, NotANumberKeepsTheDialogOpenAndStepsStayInRange) {
    QStringList seen;
    Run([&](TFormClearNew* d) {
        d->EditFromIndex->setText("x");
        d->BtnOk->click();
        seen << QString::number(d->isVisible()) << d->EditFromIndex->text()
             << d->EditToIndex->text();
        d->EditToIndex->setText("10");
        QTest::keyClick(d->EditToIndex, Qt::Key_Up);
        seen << d->EditToIndex->text();
        d->EditFromIndex->setText("1");
        QTest::keyClick(d->EditFromIndex, Qt::Key_Down);
        QTest::mouseClick(d->BtnFromNext, Qt::LeftButton);
        QTest::mouseClick(d->BtnToPrev, Qt::LeftButton);
        seen << d->EditFromIndex->text() << d->EditToIndex->text();
        QTest::keyClick(d->EditFromIndex, Qt::Key_Escape);
    });
    EXPECT_EQ(seen, (QStringList{"1", "1", "1", "10", "2", "1"}));
    EXPECT_EQ(Entries(), files);
}

TEST_F(TenOnTheList, ClearingAllEmptiesTheListAndDisablesIt) {
    Run([](TFormClearNew* d) {
        d->RadioBtnClearAll->click();
        EXPECT_FALSE(d->EditFromIndex->isEnabled());
        EXPECT_FALSE(d->BtnToNext->isEnabled());
        d->BtnOk->click();
    });
    EXPECT_TRUE(Entries().empty());
    emit book->Menus->MenuMain->aboutToShow();
    EXPECT_FALSE(book->Menus->ItemNew->isEnabled());
    EXPECT_FALSE(book->Menus->ItemClearNewItem->isEnabled());
    EXPECT_FALSE(book->Menus->ItemLabel->isEnabled()); // the document is no longer listed
}

} // namespace
