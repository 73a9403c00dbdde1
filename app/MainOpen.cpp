// The book window's side of opening documents, the recent list's menu and the text passes.
#include "Main.h"

#include "archive/ZipPass.h"
#include "archive/ZipPrev.h"
#include "base/FileTest.h"
#include "reader/OpenFile.h"
#include "reader/ReadingPlace.h"
#include "records/CommandLine.h"
#include "records/Global.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

namespace {

constexpr int HandedFilesRetryMs = 250;

} // namespace

bool TFormMain::OpenDocument(const std::string& path) {
    return List->OpenItemFile(path) && OnItemNewFileClick(0);
}

bool TFormMain::OnItemNewFileClick(int p) {
    const std::optional<RecentReference> ref = List->Reference(p);
    if (!ref)
        return false;
    std::string file = ref->Text;
    if (ref->InArchive()) {
        const ExtractedEntry extracted =
            ExtractForReading(ref->Archive, ref->Entry, ref->EntryIndex, TempDir);
        if (extracted.Failure) {
            Tell(*extracted.Failure);
            return false;
        }
        file = extracted.Path;
    }
    const int index = List->TakeForOpening(p, file, ref->Archive);
    if (index < 0)
        return false;
    if (ref->ChooseEntries)
        return OpenChosenEntries(ref->Text);
    return ReadAndShow(index, file, ref->Text);
}

bool TFormMain::OpenChosenEntries(const std::string& archive) {
    const ZipChoice choice = ChooseEntries(archive);
    if (choice.Failure)
        Tell(*choice.Failure);
    if (choice.Entries.empty())
        return false;
    UpdateMainForm();
    return List->PutChosenOnTop(choice.Entries) && OnItemNewFileClick(0);
}

// A file that cannot be read leaves the list and the shown document as they were.
bool TFormMain::ReadAndShow(int index, const std::string& file, const std::string& name) {
    const EncodingChoice choice =
        ChoiceFromName(List->EncodingOf(index)).value_or(EncodingChoice::Auto);
    OpenedFile opened = OpenFile(file, Progress, choice);
    if (opened.Message)
        Tell(*opened.Message);
    if (!opened.Chunks)
        return false;
    List->RecordOpened(index);
    ShowOpened(name, std::move(*opened.Chunks));
    LoadBookmarks();
    UpdateMainForm();
    return true;
}

void TFormMain::ShowOpened(const std::string& name, std::vector<Chunk> chunks) {
    if (ExtensionIs(name, ".htm") || ExtensionIs(name, ".html"))
        Setting.ProcessHtml = true;
    Book.Open(name, std::move(chunks), Options(), PlaceToOpen);
    Init_Page();
    RestoreLastPagePending = false;
    ShowBook();
}

bool TFormMain::OpenBatch(const std::vector<std::string>& names) {
    return List->PutBatchOnTop(names) && OnItemNewFileClick(0);
}

bool TFormMain::Reopen(const ReopenPlan& plan) {
    switch (plan.Action) {
    case ReopenPlan::Entry:
        return OnItemNewFileClick(plan.Index);
    case ReopenPlan::AddAgain:
        return OpenDocument(plan.Name);
    case ReopenPlan::None:
        break;
    }
    return false;
}

void TFormMain::ItemFilePrevClick() {
    OnItemNewFileClick(List->ItemFilePrevIndex());
}

void TFormMain::ItemFileNextClick() {
    OnItemNewFileClick(List->ItemFileNextIndex());
}

void TFormMain::OpenFileList(const std::vector<std::string>& paths) {
    OpenBatch(DroppedFileOrder(paths));
}

void TFormMain::OpenHandedFiles(std::vector<std::string> names) {
    // A dialog of the book is waiting for the reader: the names wait for it to close.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(HandedFilesRetryMs, this, [this, names] { OpenHandedFiles(names); });
        return;
    }
    ShowMainForm();
    activateWindow();
    if (names.empty() || EditMode)
        return; // the edited text is not left for another document, as with a drop
    if (names.size() > MaxDroppedFiles)
        names.erase(names.begin(), names.end() - MaxDroppedFiles);
    OpenBatch(names);
}

void TFormMain::RebuildRecentMenu() {
    Menus->ClearRecent();
    for (int p = 0; p < List->Count(); ++p) {
        QAction* item = Menus->AddRecent(LiteralMenuText(RecentMenuCaption(p)));
        connect(item, &QAction::triggered, this, [this, p] { OnItemNewFileClick(p); });
    }
}

void TFormMain::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && !EditMode)
        event->acceptProposedAction();
}

void TFormMain::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
    event->acceptProposedAction();
    UpdateMainForm();
    OpenFileList(paths);
}

void TFormMain::ItemBIG5Click(QAction* sender) {
    const std::pair<QAction*, bool*> toggles[] = {
        {Menus->ItemBIG5, &Setting.ConvertBig5},    {Menus->ItemGB, &Setting.ConvertGb},
        {Menus->ItemHtml, &Setting.ProcessHtml},    {Menus->ItemChap, &Setting.SmartParagraphs},
        {Menus->ItemHangD, &Setting.DoubleSpacing}, {Menus->ItemUnderLine, &Setting.ShowUnderline},
    };
    for (const auto& [item, setting] : toggles)
        if (item == sender)
            *setting = !*setting;
    // Each call re-runs only what its change needs: the passes for the text switches, the
    // wrapping for double spacing, nothing for the underline.
    Book.SetOptions(Options());
    SetTextOptions(Book.Options()); // the help text keeps its passes off
    Init_Page();
    UnderlineVisible = Setting.ShowUnderline;
    ShowBook();
}

void TFormMain::ItemRefreshClick() {
    if (!Book.HasDocument())
        Init_Page();
    else if (List->CurrentIndex >= 0)
        OnItemNewFileClick(List->CurrentIndex);
    else
        OpenDocument(Book.DocumentName());
    ChangeYe(Book.CurrentPage());
}

void TFormMain::ItemCodeClick(QAction* sender) {
    const int index = List->CurrentIndex;
    const std::string name = sender->data().toString().toStdString();
    if (!Book.HasDocument() || index < 0 || name == List->EncodingOf(index))
        return;
    const double share = ShareBefore(Book.Document(), Book.Place());
    List->SetEncodingOf(index, name);
    OnItemNewFileClick(index); // shows page 1 of the text read again
    RestoreLastPagePending = false;
    if (!Book.GoTo(PositionAtShare(Book.Document(), share)))
        Book.GoToPage(1);
    ShowBook();
}

// While the text is edited the locked menu keeps every item disabled.
void TFormMain::MenuMainPopup() {
    if (Menus->Locked())
        return;
    const bool recent = List->Count() > 0;
    Menus->ItemNew->menuAction()->setEnabled(recent);
    Menus->ItemNew->setEnabled(recent);
    const QList<QAction*> entries = Menus->RecentItems();
    const int defaultItem = List->DefaultItem();
    Menus->ItemNew->setDefaultAction(
        defaultItem >= 0 && defaultItem < entries.size() ? entries[defaultItem] : nullptr);
    Menus->ItemBIG5->setChecked(Setting.ConvertBig5);
    Menus->ItemGB->setChecked(Setting.ConvertGb);
    Menus->ItemHtml->setChecked(Setting.ProcessHtml);
    Menus->ItemChap->setChecked(Setting.SmartParagraphs);
    Menus->ItemHangD->setChecked(Setting.DoubleSpacing);
    Menus->ItemUnderLine->setChecked(Setting.ShowUnderline);
    Menus->ItemEdit->setEnabled(Book.HasDocument());
    const bool document = Book.HasDocument() && List->CurrentIndex >= 0;
    Menus->ItemCode->menuAction()->setEnabled(document);
    const QString code = QString::fromStdString(List->EncodingOf(List->CurrentIndex));
    for (QAction* item : Menus->CodeItems())
        item->setChecked(item->data().toString() == code);
    MenuMarksPopup(); // bookmarks, "指定页..." and "清除阅读记录..."
    Setting.Maximized = IsMaximized();
    Menus->ShowCaptions(BookShown(), IsMaximized());
}
