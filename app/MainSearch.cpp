// The book window's side of searching: the dialog, find-next and showing a hit.
#include "Main.h"

#include "reader/Search.h"

void TFormMain::ItemSearchClick() {
    ShowMainForm();
    if (FormSearch->exec() != QDialog::Accepted)
        return;
    if (!FormSearch->FindText().isEmpty())
        DoSearch(FormSearch->FindText(), FormSearch->MatchCase());
}

void TFormMain::ItemSearchNextClick() {
    ShowMainForm();
    if (FormSearch->FindText().isEmpty())
        return ItemSearchClick();
    DoSearch(FormSearch->FindText(), FormSearch->MatchCase());
}

// The hit's pair is shown and the underline switched on under the hit's line. Whether a hit is
// new is judged by the underline as it is, not by the check mark of the menu's last opening,
// so that find-next never stops at the hit it has just shown.
void TFormMain::DoSearch(const QString& text, bool matchCase) {
    const std::string utf8 = text.toStdString();
    std::optional<SearchHit> hit;
    if (const std::optional<std::string> bytes = SearchBytes(utf8))
        hit = Book.Search(*bytes, matchCase, Setting.ShowUnderline);
    if (!hit) {
        Tell(NotFoundMessage(utf8, matchCase));
        return;
    }
    RestoreLastPagePending = false;
    Setting.AutoPageTurn = false;
    Setting.ShowUnderline = true;
    UnderlineVisible = true;
    ShowBook();
}
