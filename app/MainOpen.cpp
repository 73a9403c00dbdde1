// The book window's side of opening documents, the recent list's menu and the text passes.
#include "Main.h"

#include "reader/OpenFile.h"
#include "reader/TextPasses.h"
#include "records/CommandLine.h"
#include "records/FileTest.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

bool TFormMain::ReadDocument(const std::string& path) {
    std::optional<std::vector<Chunk>> chunks = OpenFile(path, Progress);
    if (!chunks)
        return false;
    Store.SetChunks(std::move(*chunks));
    return true;
}

bool TFormMain::OpenDocument(const std::string& path) {
    return List->OpenParamFile(path, Actions);
}

void TFormMain::FinishOpen(int index, const std::string& entryText) {
    List->CurrentIndex = index;
    Store.DocumentName = entryText;
    if (ExtensionIs(entryText, ".htm") || ExtensionIs(entryText, ".html"))
        Setting.ProcessHtml = true;
    Init_Text(Store, Progress);
    Init_Page_Do(Store, Setting, Progress);
    Init_Page();
    ChangeYe(1);
    UpdateMainForm();
}

void TFormMain::OnItemNewFileClick(int p) {
    List->OnItemNewFileClick(p, Actions);
}

void TFormMain::ItemFilePrevClick() {
    List->ItemFilePrevClick(Actions);
}

void TFormMain::ItemFileNextClick() {
    List->ItemFileNextClick(Actions);
}

void TFormMain::OpenFileList(const std::vector<std::string>& paths) {
    List->RunBatch(DroppedFileOrder(paths), Actions);
}

void TFormMain::RebuildRecentMenu() {
    Menus->ItemNew->clear();
    for (int p = 0; p < List->Count(); ++p) {
        QAction* item = Menus->ItemNew->addAction(QString::fromStdString(List->Caption(p)));
        connect(item, &QAction::triggered, this, [this, p] { OnItemNewFileClick(p); });
    }
}

void TFormMain::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TFormMain::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths.push_back(url.toLocalFile().toStdString());
    event->acceptProposedAction();
    UpdateMainForm();
    OpenFileList(paths);
}

void TFormMain::ItemBIG5Click(QAction* sender) {
    const auto toggle = [](bool& setting) { setting = !setting; };
    const bool repaginate = sender != Menus->ItemUnderLine;
    const bool reprocess = repaginate && sender != Menus->ItemHangD;
    if (sender == Menus->ItemBIG5)
        toggle(Setting.ConvertBig5);
    else if (sender == Menus->ItemGB)
        toggle(Setting.ConvertGb);
    else if (sender == Menus->ItemHtml)
        toggle(Setting.ProcessHtml);
    else if (sender == Menus->ItemChap)
        toggle(Setting.SmartParagraphs);
    else if (sender == Menus->ItemHangD)
        toggle(Setting.DoubleSpacing);
    else if (sender == Menus->ItemUnderLine)
        toggle(Setting.ShowUnderline);
    if (reprocess)
        Init_Page_Do(Store, Setting, Progress);
    if (repaginate) {
        Init_Page();
        ChangeYe(Store.CurrentPage);
    }
    UnderlineVisible = Setting.ShowUnderline;
    update();
}

void TFormMain::ItemRefreshClick() {
    if (Store.DocumentName.empty()) {
        Init_Page();
    } else if (List->CurrentIndex >= 0) {
        OnItemNewFileClick(List->CurrentIndex);
    } else {
        List->OpenParamFile(Store.DocumentName, Actions);
    }
    ChangeYe(Store.CurrentPage);
}

void TFormMain::MenuMainPopup() {
    Menus->ItemNew->setEnabled(List->Count() > 0);
    const QList<QAction*> entries = Menus->ItemNew->actions();
    const int defaultItem = List->DefaultItem();
    Menus->ItemNew->setDefaultAction(
        defaultItem >= 0 && defaultItem < entries.size() ? entries[defaultItem] : nullptr);
    Menus->ItemBIG5->setChecked(Setting.ConvertBig5);
    Menus->ItemGB->setChecked(Setting.ConvertGb);
    Menus->ItemHtml->setChecked(Setting.ProcessHtml);
    Menus->ItemChap->setChecked(Setting.SmartParagraphs);
    Menus->ItemHangD->setChecked(Setting.DoubleSpacing);
    Menus->ItemUnderLine->setChecked(Setting.ShowUnderline);
    Setting.Maximized = IsMaximized();
    Menus->ShowCaptions(BookShown(), IsMaximized());
}
