// The book window's side of opening documents and re-running the text passes.
#include "Main.h"

#include "reader/OpenFile.h"
#include "reader/TextPasses.h"

bool TFormMain::OpenDocument(const std::string& path) {
    std::optional<std::vector<Chunk>> chunks = OpenFile(path, Progress);
    if (!chunks)
        return false;
    Store.SetChunks(std::move(*chunks));
    FinishOpen(path, -1);
    return true;
}

void TFormMain::FinishOpen(const std::string& entryText, int index) {
    CurrentIndex = index;
    Store.DocumentName = entryText;
    if (HasExtension(entryText, ".htm") || HasExtension(entryText, ".html"))
        Setting.ProcessHtml = true;
    FileOpened = true;
    Init_Text(Store, Progress);
    Init_Page_Do(Store, Setting, Progress);
    Init_Page();
    ChangeYe(1);
    UpdateMainForm();
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
    } else {
        // Read again from disk; the whole pipeline runs and ends at page 1.
        const int index = CurrentIndex;
        const std::string name = Store.DocumentName;
        if (std::optional<std::vector<Chunk>> chunks = OpenFile(name, Progress)) {
            Store.SetChunks(std::move(*chunks));
            FinishOpen(name, index);
        }
    }
    ChangeYe(Store.CurrentPage);
}

void TFormMain::MenuMainPopup() {
    Menus->ItemBIG5->setChecked(Setting.ConvertBig5);
    Menus->ItemGB->setChecked(Setting.ConvertGb);
    Menus->ItemHtml->setChecked(Setting.ProcessHtml);
    Menus->ItemChap->setChecked(Setting.SmartParagraphs);
    Menus->ItemHangD->setChecked(Setting.DoubleSpacing);
    Menus->ItemUnderLine->setChecked(Setting.ShowUnderline);
}
