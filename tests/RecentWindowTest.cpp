// test-links: mojuan_app
#include "RecordingPrompter.h"
#include "StoreTestSupport.h"
#include "app/Main.h"
#include "app/ProgramStart.h"
#include "records/SettingsStore.h"

#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::string Lines(int n, const std::string& word) {
    std::string text;
    for (int i = 1; i <= n; ++i)
        text += word + std::to_string(i) + "\r\n";
    return text;
}

struct Session {
    ScratchDir dir;
    RecordingPrompter prompter;
    ScopedPrompter scope{prompter};
    NoProgress progress;
    std::string Store() const { return dir / "registry.sqlite3"; }
    std::string Book(const std::string& name, int lines = 27 * 40) {
        WriteFile(dir / name, Lines(lines, name));
        return dir / name;
    }
};

// The last place is its text: found at any size. A store of an older version has only the
// page, which the first resize shows again at the final size.
TEST(RecentWindowTest, LastDocumentReopensAtItsPlace) {
    Session s;
    const std::string a = s.Book("a.txt");
    for (bool pageOnly : {false, true}) {
        {
            Registry reg(s.Store());
            TFormMain book(reg, s.progress, std::vector<std::string>{a});
            EXPECT_EQ(book.Book.DocumentName(), a);
            EXPECT_EQ(book.List->Count(), 1);
            book.ChangeYe(7);
            book.close();
            if (pageOnly)
                reg.WriteRegStr(FileKey, "上次关闭文件位置", "");
        }
        Registry reg(s.Store());
        TFormMain book(reg, s.progress);
        EXPECT_EQ(book.Book.DocumentName(), a);
        EXPECT_EQ(book.Book.CurrentPage(), 7);
        EXPECT_EQ(book.RestorePending(), pageOnly);
        book.show();
        book.resize(pageOnly ? 760 : 700, 500); // another size than the one stored
        QTest::qWait(10);
        EXPECT_FALSE(book.RestorePending());
        const PagePairText& shown = book.ShownPages();
        if (pageOnly)
            EXPECT_EQ(book.Book.CurrentPage(), 7);
        else // the line that was first on page 7
            EXPECT_NE((shown.Left + shown.Right).find("a.txt163\r\n"), std::string::npos);
        book.close();
    }
    std::filesystem::remove(a); // a last file that cannot be read: the help text
    Registry reg(s.Store());
    TFormMain book(reg, s.progress);
    EXPECT_FALSE(book.Book.HasDocument());
    EXPECT_EQ(s.prompter.Prompts.size(), 1u);
}

// 文字编码: the document is read again in the chosen encoding at the same place, and the choice
// is kept with its record for the next open.
TEST(RecentWindowTest, AChosenEncodingRereadsAtTheSamePlaceAndStays) {
    Session s;
    std::string text;
    for (int i = 1000; i < 1000 + 27 * 40; ++i) // lines of one length in either reading
        text += "\xE4\xB8\x80" + std::to_string(i) + "\r\n"; // 一 in UTF-8
    WriteFile(s.dir / "u.txt", text);
    const std::string path = s.dir / "u.txt";
    {
        Registry reg(s.Store());
        TFormMain book(reg, s.progress, std::vector<std::string>{path});
        ASSERT_EQ(book.Book.Document().ShownChunk[0]->String().substr(0, 2), "\xD2\xBB"); // 一 in GB
        book.ChangeYe(21);
        QAction* gb = book.Menus->CodeItems()[1];
        gb->trigger();
        EXPECT_EQ(book.Book.Document().ShownChunk[0]->String().substr(0, 3), "\xE4\xB8\x80"); // read as it is
        EXPECT_EQ(book.Book.CurrentPage(), 21);
        book.close();
    }
    Registry reg(s.Store());
    TFormMain book(reg, s.progress, std::vector<std::string>{path});
    EXPECT_EQ(book.Book.Document().ShownChunk[0]->String().substr(0, 3), "\xE4\xB8\x80");
    book.MenuMainPopup();
    EXPECT_TRUE(book.Menus->CodeItems()[1]->isChecked());
    book.Menus->CodeItems()[0]->trigger();
    EXPECT_EQ(book.Book.Document().ShownChunk[0]->String().substr(0, 2), "\xD2\xBB");
}

TEST(RecentWindowTest, CommandLinePutsTheFirstNameOnTopAndShowsIt) {
    Session s;
    const std::string a = s.Book("a.txt"), b = s.Book("b.txt");
    Registry reg(s.Store());
    TFormMain book(reg, s.progress, std::vector<std::string>{a, b});
    EXPECT_EQ(book.Book.DocumentName(), a);
    ASSERT_EQ(book.List->Count(), 2);
    EXPECT_EQ(book.List->GetIndexFilename(0), a);
    EXPECT_EQ(book.Menus->ItemNew->actions().at(1)->text().toStdString(), "2) " + b);
}

TEST(RecentWindowTest, PeriodAndCommaOpenNextAndPreviousDocument) {
    Session s;
    const std::string a = s.Book("a.txt"), b = s.Book("b.txt");
    Registry reg(s.Store());
    TFormMain book(reg, s.progress, std::vector<std::string>{a, b});
    book.show();
    emit book.Menus->MenuPageMove->aboutToShow();
    QTest::keyClick(&book, Qt::Key_Period);
    EXPECT_EQ(book.Book.DocumentName(), b);
    EXPECT_EQ(book.List->CurrentIndex, 1);
    QTest::keyClick(&book, Qt::Key_Comma); // disabled when the page menu last opened
    EXPECT_EQ(book.Book.DocumentName(), b);
    emit book.Menus->MenuPageMove->aboutToShow();
    QTest::keyClick(&book, Qt::Key_Comma);
    EXPECT_EQ(book.Book.DocumentName(), a);
}

TEST(RecentWindowTest, SixtyDroppedFilesKeepFiftyWithTheFirstOnTop) {
    Session s;
    std::vector<std::string> dropped;
    for (int i = 0; i < 60; ++i)
        dropped.push_back(s.Book(std::string("d").append(std::to_string(i)), 3));
    Registry reg(s.Store());
    TFormMain book(reg, s.progress);
    book.show();
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& path : dropped)
        urls << QUrl::fromLocalFile(QString::fromStdString(path));
    data.setUrls(urls);
    // Qt delivers a drop only to the widget that accepted the drag entering it.
    QDragEnterEvent enter(QPoint(300, 200), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&book, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(300, 200), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&book, &drop);
    EXPECT_EQ(book.List->Count(), 50);
    EXPECT_EQ(book.Book.DocumentName(), s.dir / "d0");
    EXPECT_EQ(book.List->GetIndexFilename(0), s.dir / "d0");
    EXPECT_EQ(book.List->GetIndexFilename(49), s.dir / "d49");
}

TEST(RecentWindowTest, StartRegistersTheFileTypesForTheDesktop) {
    Session s;
    Registry reg(s.Store());
    RegisterWithDesktop(reg);
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    ASSERT_NE(dataHome, nullptr);
    EXPECT_TRUE(std::filesystem::exists(std::string(dataHome) + "/applications/mojuan.desktop"));
    EXPECT_TRUE(std::filesystem::exists(std::string(dataHome) + "/mime/packages/mojuan.xml"));
    reg.SetRegHive(HKEY_CLASSES_ROOT);
    EXPECT_EQ(reg.ReadRegStr(".blf", "", ""), "Book Files");
    reg.SetRegHive(HKEY_LOCAL_MACHINE);
}

// The reader turns on after a start-up reopen; a resize then keeps the place the reader reached
// (its text), not the page the book was reopened at.
TEST(RecentWindowTest, AResizeAfterTurningKeepsTheReadersPlace) {
    Session s;
    const std::string a = s.Book("a.txt");
    {
        Registry reg(s.Store());
        TFormMain book(reg, s.progress, std::vector<std::string>{a});
        book.ChangeYe(7);
        book.close();
    }
    Registry reg(s.Store());
    TFormMain book(reg, s.progress);
    book.show();
    QTest::qWait(10);
    book.ChangeYe(21);
    book.resize(700, 380); // wider, but the short lines keep their pages
    QTest::qWait(10);
    EXPECT_EQ(book.Book.CurrentPage(), 21);
}

// A caption made of a file name shows the name as it is: "&" is no accelerator.
TEST(RecentWindowTest, AnAmpersandInAFileNameIsShownLiterally) {
    Session s;
    const std::string a = s.Book("a&b.txt");
    Registry reg(s.Store());
    TFormMain book(reg, s.progress, std::vector<std::string>{a});
    const QList<QAction*> entries = book.Menus->ItemNew->actions();
    ASSERT_EQ(entries.size(), 3); // the entry, the separator N8 and "生成书库文件..."
    EXPECT_EQ(entries[0]->text(), QString::fromStdString("1) " + a).replace("&", "&&"));
    EXPECT_EQ(QAction(entries[0]->text()).iconText(), QString::fromStdString("1) " + a));
}

} // namespace
