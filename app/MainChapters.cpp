// The book window's side of chapters: the chapter list, the chapter keys and items, the
// document's own chapter pattern and the chapter kept with its recent entry.
#include "Main.h"

#include "base/UserMessage.h"
#include "dialogs/Chapters.h"
#include "records/ChapterRecord.h"

void TFormMain::ConnectChapters() {
    connect(Menus->ItemChapters, &QAction::triggered, this, &TFormMain::ItemChaptersClick);
    connect(Menus->ItemChapterPrev, &QAction::triggered, this, &TFormMain::ItemChapterPrevClick);
    connect(Menus->ItemChapterNext, &QAction::triggered, this, &TFormMain::ItemChapterNextClick);
}

std::vector<ChapterRow> TFormMain::ChapterRows() {
    std::vector<ChapterRow> rows;
    const std::vector<Chapter>& list = Book.Chapters();
    for (int i = 0; i < static_cast<int>(list.size()); ++i)
        rows.push_back({Book.ChapterCaption(i), list[i].Level});
    return rows;
}

void TFormMain::ItemChaptersClick() {
    if (EditMode)
        return;
    ShowMainForm();
    TFormChapters dialog(this);
    dialog.SetPattern(Book.ChapterPattern());
    dialog.SetChapters(ChapterRows(), Book.CurrentChapter());
    dialog.ApplyPattern = [this](const std::string& pattern) {
        if (!Book.SetChapterPattern(pattern))
            return TFormChapters::PatternResult{false, {}};
        WriteChapterPattern(Reg, List->StorageIndex(List->CurrentIndex), pattern);
        ShowBook();
        return TFormChapters::PatternResult{true, ChapterRows()};
    };
    if (RunDialog(dialog) == QDialog::Accepted)
        ShowChapter(Book.GoToChapter(dialog.Chosen()));
}

void TFormMain::ItemChapterPrevClick() {
    if (!EditMode)
        ShowChapter(Book.PreviousChapter());
}

void TFormMain::ItemChapterNextClick() {
    if (!EditMode)
        ShowChapter(Book.NextChapter());
}

// A heading reached is shown with the underline under it, as a search hit is.
void TFormMain::ShowChapter(bool moved) {
    if (moved)
        ShowHit();
}

void TFormMain::MenuChapterPopup() {
    const bool any = Book.HasDocument() && !Book.Chapters().empty();
    Menus->ItemChapterPrev->setEnabled(any);
    Menus->ItemChapterNext->setEnabled(any);
}

// The pattern kept with the document's record, once it is open.
void TFormMain::LoadChapterPattern() {
    const std::string pattern = ReadChapterPattern(Reg, List->StorageIndex(List->CurrentIndex));
    if (!pattern.empty() && !Book.SetChapterPattern(pattern))
        Tell(WarningMessage(BadChapterPatternText));
}

// The recent entry keeps the chapter where reading is, written when it changes; a text without
// headings (or no longer with them, after a pattern change) has none.
void TFormMain::RecordChapter() {
    if (!Book.HasDocument() || List->CurrentIndex < 0)
        return;
    const int s = List->StorageIndex(List->CurrentIndex);
    const std::string title =
        Book.HasHeadings() ? Book.ChapterCaption(Book.CurrentChapter()) : std::string();
    const std::string record = std::to_string(s) + '\n' + title;
    if (record == RecordedChapter)
        return;
    RecordedChapter = record;
    WriteLastChapter(Reg, s, title);
    RebuildRecentMenu();
}

std::string TFormMain::RecentMenuCaption(int p) {
    return CaptionWithChapter(List->Caption(p), ReadLastChapter(Reg, List->StorageIndex(p)));
}
