// test-links: mojuan_app
#include "RecordingPrompter.h"
#include "TestSupport.h"
#include "ZipTestSupport.h"
#include "app/Main.h"
#include "dialogs/DlgText.h"
#include "dialogs/FormZipPrev.h"
#include "text/Gb2Big5.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

struct Session {
    ScratchDir dir;
    RecordingPrompter prompter;
    ScopedPrompter scope{prompter};
    NoProgress progress;
    std::string Store() const { return dir / "registry.sqlite3"; }
    std::string Book(const std::string& name, const std::string& text = "text\r\n") {
        WriteFile(dir / name, text);
        return dir / name;
    }
};

QString Quoted(const std::vector<std::string>& names) {
    QStringList quoted;
    for (const std::string& name : names)
        quoted << QLatin1Char('"') + QString::fromStdString(name) + QLatin1Char('"');
    return quoted.join(QLatin1Char(' '));
}

// Answers the file dialog with `names` typed in its folder `folder`, and the ZIP chooser with
// the rows whose file names are in `rows`.
struct Answers {
    std::string Folder;
    std::vector<std::string> Names;
    std::vector<std::string> Rows;
    bool ShowAll = true;
    Answers(std::string folder, std::vector<std::string> names, std::vector<std::string> rows = {})
        : Folder(std::move(folder)), Names(std::move(names)), Rows(std::move(rows)) {}
    int FileDialogs = 0;
    int Choosers = 0;
    std::vector<QString> Titles;

    int operator()(QDialog& dialog) {
        Titles.push_back(dialog.windowTitle());
        if (auto* form = qobject_cast<TFormZipPrev*>(&dialog)) {
            ++Choosers;
            form->FormShow();
            if (!ShowAll) {
                form->CheckBoxList->setChecked(false);
                form->FormShow();
            }
            for (int i = 0; i < form->FileList->topLevelItemCount(); ++i) {
                QTreeWidgetItem* item = form->FileList->topLevelItem(i);
                const std::string name = item->text(0).toStdString();
                item->setSelected(std::find(Rows.begin(), Rows.end(), name) != Rows.end());
            }
            form->BtnOkClick();
            return form->result();
        }
        ++FileDialogs;
        auto& files = static_cast<QFileDialog&>(dialog);
        if (Names.empty())
            return QDialog::Rejected;
        files.setDirectory(QString::fromStdString(Folder));
        // As a user's new choice does, the typed names replace what was selected last time.
        files.findChild<QAbstractItemView*>(QStringLiteral("listView"))->clearSelection();
        files.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(Quoted(Names));
        return QDialog::Accepted;
    }
};

void Answer(TFormMain& book, Answers& answers) {
    book.RunDialog = [&answers](QDialog& dialog) { return answers(dialog); };
}

TEST(FileDialogsTest, PreviewShowsTheBeginningOfTheSelectedFile) {
    Session s;
    TOpenTextDialog dialog;
    dialog.DoSelectionChange(QString::fromStdString(s.Book("ten.txt", "0123456789")));
    EXPECT_EQ(dialog.MemoText->toPlainText(), QStringLiteral("0123456789"));
    dialog.DoSelectionChange(QString::fromStdString(s.Book("long.txt", std::string(5000, 'x'))));
    EXPECT_EQ(dialog.MemoText->toPlainText().size(), 2000);
    dialog.DoSelectionChange(QString::fromStdString(s.Book("zero.txt", std::string("ab\0c", 4))));
    EXPECT_EQ(dialog.MemoText->toPlainText(), QStringLiteral("ab"));
    dialog.DoSelectionChange(QString::fromStdString(s.dir.Path()));
    EXPECT_EQ(dialog.MemoText->toPlainText(), QString());

    const std::string big5 = "\xA7\xDA\xAD\xCC\r\n"; // 我們 in BIG5
    dialog.DoSelectionChange(QString::fromStdString(s.Book("big5.txt", big5)));
    const QString raw = dialog.MemoText->toPlainText();
    dialog.CheckBoxBig5->click();
    EXPECT_EQ(dialog.MemoText->toPlainText(), QStringLiteral("我们\n"));
    dialog.CheckBoxBig5->click();
    EXPECT_EQ(dialog.MemoText->toPlainText(), raw);
    EXPECT_EQ(dialog.PreviewText(), big5);

    ASSERT_TRUE(ziptest::InfoZip(s.dir / "src", s.dir / "x.zip",
                                 {{"a.txt", "x"}, {"sub/", ""}, {"sub/b.htm", "y"}}));
    dialog.DoSelectionChange(QString::fromStdString(s.dir / "x.zip"));
    EXPECT_EQ(dialog.MemoText->toPlainText(), QStringLiteral("a.txt\nb.htm\n"));
}

TEST(FileDialogsTest, TypingANameSelectsTheFileAndPreviewsIt) {
    Session s;
    s.Book("typed.txt", "typed text");
    TOpenTextDialog dialog;
    dialog.setDirectory(QString::fromStdString(s.dir.Path()));
    auto* view = dialog.findChild<QAbstractItemView*>(QStringLiteral("listView"));
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) > 0; }));
    dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
        ->setText(QStringLiteral("typed.txt"));
    EXPECT_EQ(dialog.MemoText->toPlainText(), QStringLiteral("typed text"));
}

TEST(FileDialogsTest, OpenDialogHasTheNineFiltersAndMatchesThemInAnyCase) {
    Session s;
    s.Book("a.zip", "PK");
    s.Book("b.txt");
    Registry reg(s.Store());
    TFormMain book(reg, s.progress);
    Answers answers(s.dir.Path(), {});
    Answer(book, answers);
    QTest::keyClick(&book, Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(answers.FileDialogs, 1);
    TOpenTextDialog& dialog = *book.OpenDialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("打开小说文件"));
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFiles);
    auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    ASSERT_EQ(types->count(), 9);
    EXPECT_EQ(types->itemText(0), QStringLiteral("所有小说文件"));
    EXPECT_EQ(types->itemText(2), QStringLiteral("HTML文件(*.htm, *.html)"));
    EXPECT_EQ(types->itemText(5), QStringLiteral("Zip文件(*.Zip)"));

    dialog.setDirectory(QString::fromStdString(s.dir.Path()));
    dialog.selectNameFilter(dialog.nameFilters().at(5));
    auto* view = dialog.findChild<QAbstractItemView*>(QStringLiteral("listView"));
    ASSERT_NE(view, nullptr);
    QStringList shown;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        shown.clear();
        const QModelIndex root = view->rootIndex();
        for (int i = 0; i < view->model()->rowCount(root); ++i)
            shown << view->model()->index(i, 0, root).data().toString();
        return shown.contains(QStringLiteral("a.zip"));
    }));
    EXPECT_FALSE(shown.contains(QStringLiteral("b.txt")));
}

TEST(FileDialogsTest, SixtySelectedFilesPutFiftyOnTopAndOpenTheFirst) {
    Session s;
    Answers answers(s.dir.Path(), {});
    for (int i = 0; i < 60; ++i)
        answers.Names.push_back(
            std::filesystem::path(s.Book("f" + std::to_string(i) + ".txt")).filename().string());
    Registry reg(s.Store());
    TFormMain book(reg, s.progress);
    Answer(book, answers);
    book.ItemOpenClick();
    EXPECT_EQ(book.List->Count(), 50);
    EXPECT_EQ(book.List->GetIndexFilename(0), s.dir / "f0.txt");
    EXPECT_EQ(book.List->GetIndexFilename(49), s.dir / "f49.txt");
    EXPECT_EQ(book.Book.DocumentName(), s.dir / "f0.txt");

    // The next run starts in the open document's folder; Enter and O open the dialog too.
    answers.Names.clear();
    QTest::keyClick(&book, Qt::Key_Return);
    QTest::keyClick(&book, Qt::Key_O);
    EXPECT_EQ(answers.FileDialogs, 3);
    EXPECT_EQ(book.OpenDialog->directory().absolutePath().toStdString(), s.dir.Path());
}

TEST(FileDialogsTest, ZipEntriesChosenGoOnTopInRowOrderAndTheFirstOpens) {
    Session s;
    ASSERT_TRUE(ziptest::InfoZip(s.dir / "src", s.dir / "x.zip",
                                 {{"a.txt", "first\r\n"},
                                  {"pic.jpg", "jpeg"},
                                  {"sub/", ""},
                                  {"sub/b.htm", "<p>second</p>\r\n"}}));
    ASSERT_TRUE(
        ziptest::InfoZip(s.dir / "src", s.dir / "locked.zip", {{"c.txt", "secret\r\n"}}, "-P pw"));
    Answers answers(s.dir.Path(), {"x.zip"}, {"a.txt", "b.htm"});
    Registry reg(s.Store());
    TFormMain book(reg, s.progress);
    Answer(book, answers);
    book.ItemOpenClick();
    ASSERT_EQ(answers.Choosers, 1);
    EXPECT_EQ(answers.Titles.back(), QStringLiteral("选择小说文件"));
    const std::string zip = s.dir / "x.zip";
    ASSERT_EQ(book.List->Count(), 3);
    EXPECT_EQ(book.List->GetIndexFilename(0), zip + "|a.txt");
    EXPECT_EQ(book.List->GetIndexFilename(1), zip + "|sub\\b.htm");
    EXPECT_EQ(book.List->GetIndexFilename(2), zip);
    EXPECT_EQ(book.Book.DocumentName(), zip + "|a.txt");
    EXPECT_EQ(*book.Book.Document().ShownChunk[0], "first\r\n");

    book.OnItemNewFileClick(1);
    EXPECT_EQ(book.Book.DocumentName(), zip + "|sub\\b.htm");
    EXPECT_TRUE(std::filesystem::exists(book.TempFolder() + "/sub/b.htm"));
    EXPECT_TRUE(s.prompter.Prompts.empty());

    // Without "显示所有文件" the picture is not listed, so it cannot be chosen.
    answers.ShowAll = false;
    answers.Rows = {"pic.jpg"};
    answers.Names = {"x.zip"};
    book.ItemOpenClick();

    EXPECT_EQ(book.Book.DocumentName(), zip + "|sub\\b.htm");

    // An encrypted entry is not extracted; the warning asks about a password.
    answers.Names = {"locked.zip"};
    answers.Rows = {"c.txt"};
    answers.ShowAll = true;
    book.ItemOpenClick();
    EXPECT_EQ(book.Book.DocumentName(), zip + "|sub\\b.htm");
    ASSERT_EQ(s.prompter.Prompts.size(), 1u);
    EXPECT_EQ(s.prompter.Prompts[0].Text,
              "打开文件 " + (s.dir / "locked.zip") + " 失败！\r\n请检查ZIP文件是否有密码。");

    const std::string temp = book.TempFolder();
    book.close();
    EXPECT_FALSE(std::filesystem::exists(temp));
}

TEST(FileDialogsTest, ChooserConfirmsADoubleClickedRowAndNeverListsFolders) {
    Session s;
    ASSERT_TRUE(ziptest::InfoZip(s.dir / "src", s.dir / "x.zip",
                                 {{"sub/", ""}, {"sub/b.htm", "b"}, {"c.gb", "c"}}));
    TFormZipPrev form(s.dir / "x.zip");
    form.show();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("选择小说文件"));
    EXPECT_TRUE(form.CheckBoxList->isChecked());
    ASSERT_EQ(form.FileList->topLevelItemCount(), 2);
    QTreeWidgetItem* row = form.FileList->topLevelItem(1);
    EXPECT_EQ(row->text(0), QStringLiteral("c.gb"));
    row->setSelected(true);
    emit form.FileList->itemDoubleClicked(row, 0);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.Chosen(), (std::vector<ChosenZipEntry>{{s.dir / "x.zip|c.gb", 2}}));

    // A damaged archive is said to be so instead of being shown as an empty chooser.
    WriteFile(s.dir / "cut.zip", testsupport::ReadFileBytes(s.dir / "x.zip").substr(0, 60));
    int shown = 0;
    const ZipChoice cut =
        ChooseZipEntries(s.dir / "cut.zip", nullptr, [&](QDialog&) { return ++shown; });
    EXPECT_EQ(shown, 0);
    EXPECT_TRUE(cut.Entries.empty());
    EXPECT_EQ(cut.Failure, WarningMessage(OpenFailedText(s.dir / "cut.zip", DamagedArchiveReason)));
}

// Reading a library back is the recent list's; here the two dialogs and their keys.
TEST(FileDialogsTest, SavingWritesTheShownTextAndALibraryTheList) {
    Session s;
    const std::string a = s.Book("a.txt", "alpha\nbeta\n"), b = s.Book("b.txt"),
                      c = s.Book("c.txt");
    Registry reg(s.Store());
    TFormMain book(reg, s.progress, {a, b, c});
    Answers answers(s.dir.Path(), {"saved"});
    Answer(book, answers);
    book.show();
    book.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&book));
    QTest::keyClick(&book, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(answers.FileDialogs, 1);
    EXPECT_EQ(answers.Titles.back(), QStringLiteral("保存小说文件"));
    EXPECT_EQ(testsupport::ReadFileBytes(s.dir / "saved.txt"), "alpha\r\nbeta\r\n");

    answers.Names = {"shelf"};
    QTest::keyClick(&book, Qt::Key_K, Qt::ControlModifier);
    ASSERT_EQ(answers.FileDialogs, 2);
    EXPECT_EQ(answers.Titles.back(), QStringLiteral("生成书库文件"));
    EXPECT_EQ(testsupport::ReadFileBytes(s.dir / "shelf.blf"),
              c + "\r\n" + b + "\r\n" + a + "\r\n");
    EXPECT_TRUE(s.prompter.Prompts.empty());
}

TEST(FileDialogsTest, LibraryOfAnEmptyListAsksNothing) {
    Session s;
    Registry reg(s.Store());
    TFormMain book(reg, s.progress);
    Answers answers(s.dir.Path(), {"shelf"});
    Answer(book, answers);
    book.ItemLibClick();
    EXPECT_EQ(answers.FileDialogs, 0);
    const QList<QAction*> items = book.Menus->ItemNew->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_TRUE(items[0]->isSeparator());
    EXPECT_EQ(items[1]->text(), QStringLiteral("生成书库文件..."));
    EXPECT_EQ(book.Menus->MenuMain->actions().first()->text(), QStringLiteral("打开文件..."));
}

} // namespace
