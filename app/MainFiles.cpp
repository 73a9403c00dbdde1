// The book window's file commands: the open dialog, saving the shown text, generating a library
// file, and the ZIP entry chooser.
#include "Main.h"

#include "archive/UnZip32.h"
#include "dialogs/DlgText.h"
#include "dialogs/FormZipPrev.h"
#include "reader/OpenFile.h"
#include "records/CommandLine.h"
#include "records/Global.h"
#include "records/LibraryFile.h"
#include "records/ShellIntegration.h"

#include <QMessageBox>
#include <QShortcut>

namespace {

// Saving has no item in the main menu; it has this key, listed in the help text.
const QKeySequence SaveKey(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
constexpr char LibraryProgressCaption[] = "生成书库文件";

// The folder the dialogs start in: the open document's, or its archive's.
QString DocumentFolder(const std::string& documentName) {
    const std::string path = documentName.substr(0, ArchiveBar(documentName));
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return QString::fromStdString(path.substr(0, slash == 0 ? 1 : slash));
}

TOpenTextDialog* MakeDialog(TOpenTextDialog* dialog, const QString& title,
                            const QStringList& filters, const QString& suffix) {
    dialog->setWindowTitle(title);
    dialog->setNameFilters(filters);
    dialog->selectNameFilter(filters.first());
    dialog->setDefaultSuffix(suffix);
    return dialog;
}

} // namespace

void TFormMain::ConnectFileCommands() {
    RunDialog = [](QDialog& dialog) { return dialog.exec(); };
    connect(Menus->ItemOpen, &QAction::triggered, this, &TFormMain::ItemOpenClick);
    connect(Menus->ItemLib, &QAction::triggered, this, &TFormMain::ItemLibClick);
    auto* save = new QShortcut(SaveKey, this);
    connect(save, &QShortcut::activated, this, &TFormMain::ItemSaveClick);
}

// The archive library's own errors are shown in the program's error box, not as a warning.
ZipChoice TFormMain::ChooseEntries(const std::string& archive) {
    const UnzipCheck check = CheckUnzipDll();
    if (!check.Ok) {
        QMessageBox::critical(this, QString::fromUtf8(ProgramTitle),
                              QString::fromStdString(check.Message));
        return {};
    }
    return ChooseZipEntries(archive, this, RunDialog);
}

void TFormMain::MakeFileDialogs() {
    if (OpenDialog)
        return;
    OpenDialog = MakeDialog(new TOpenTextDialog(this), QStringLiteral("打开小说文件"),
                            OpenDialogFilters(), {});
    OpenDialog->setFileMode(QFileDialog::ExistingFiles);
    SaveDialog = MakeDialog(new TSaveTextDialog(this), QStringLiteral("保存小说文件"),
                            {QStringLiteral("文本文件(*.txt) (*.txt)")}, QStringLiteral("txt"));
    LibDialog = MakeDialog(new TSaveTextDialog(this), QStringLiteral("生成书库文件"),
                           {QStringLiteral("书库文件(*.blf) (*.blf)")}, QStringLiteral("blf"));
}

bool TFormMain::RunFileDialog(TOpenTextDialog* dialog) {
    const QString folder = DocumentFolder(Book.DocumentName());
    if (!folder.isEmpty())
        dialog->setDirectory(folder);
    dialog->PrepareExecute();
    return RunDialog(*dialog) == QDialog::Accepted && !dialog->selectedFiles().isEmpty();
}

void TFormMain::ItemOpenClick() {
    ShowMainForm();
    MakeFileDialogs();
    if (!RunFileDialog(OpenDialog))
        return;
    UpdateMainForm();
    std::vector<std::string> names;
    for (const QString& file : OpenDialog->selectedFiles())
        names.push_back(file.toStdString());
    OpenBatch(DroppedFileOrder(names));
}

void TFormMain::ItemSaveClick() {
    // Its key reaches the book past the main menu; while the pages are edited a saved file
    // would not hold what is typed in the boxes.
    if (EditMode)
        return;
    ShowMainForm();
    MakeFileDialogs();
    if (!RunFileDialog(SaveDialog))
        return;
    const std::string path = SaveDialog->selectedFiles().first().toStdString();
    if (const std::optional<UserMessage> warning = Book.SaveText(path))
        Show(*warning);
}

void TFormMain::ItemLibClick() {
    ShowMainForm();
    const int n = List->Count();
    if (n == 0)
        return;
    MakeFileDialogs();
    if (!RunFileDialog(LibDialog))
        return;
    const std::string path = LibDialog->selectedFiles().first().toStdString();
    Progress.InitShowMess(0, n, LibraryProgressCaption);
    const std::optional<UserMessage> warning =
        WriteLibraryFile(path, List->Items(), [this](int line) { Progress.ShowMessPos(line); });
    Progress.CloseShowMess();
    if (warning)
        Show(*warning);
}
