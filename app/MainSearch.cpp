// The book window's side of searching: the dialog, find-next and showing a hit.
#include "Main.h"

#include "dialogs/SearchAll.h"
#include "reader/HitList.h"
#include "reader/Search.h"

namespace {

// Chunks searched between two looks at the book's events: about 2 MB.
constexpr int HitChunksPerStep = 8;

} // namespace

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

void TFormMain::ItemSearchPrevClick() {
    ShowMainForm();
    if (FormSearch->FindText().isEmpty())
        return ItemSearchClick();
    const std::string utf8 = FormSearch->FindText().toStdString();
    const std::optional<std::string> bytes = SearchBytes(utf8);
    if (!bytes || !Book.SearchPrevious(*bytes, FormSearch->MatchCase(), Setting.ShowUnderline))
        return Tell(NotFoundMessage(utf8, FormSearch->MatchCase()));
    ShowHit();
}

// Every hit in a list that fills while the search goes on; the one chosen is shown underlined.
void TFormMain::ItemSearchAllClick() {
    ShowMainForm();
    if (FormSearch->exec() != QDialog::Accepted || FormSearch->FindText().isEmpty())
        return;
    const std::optional<std::string> bytes = SearchBytes(FormSearch->FindText().toStdString());
    HitList hits(Book, bytes.value_or(""), FormSearch->MatchCase());
    TFormSearchAll dialog(this);
    dialog.More = [&hits, &dialog] {
        const std::size_t before = hits.Rows.size();
        const bool more = hits.Step(HitChunksPerStep);
        QStringList rows;
        for (std::size_t i = before; i < hits.Rows.size(); ++i)
            rows << QString::fromStdString(hits.Caption(hits.Rows[i]));
        dialog.AddRows(rows);
        dialog.SetStatus(QString::fromStdString(hits.Status()));
        return more;
    };
    if (RunDialog(dialog) != QDialog::Accepted)
        return;
    const int chosen = dialog.Chosen();
    if (chosen < 0 || chosen >= static_cast<int>(hits.Rows.size()))
        return;
    const ChunkPlace at = hits.Rows[chosen].Hit;
    if (Book.GoToUnderlined({at.Chunk, at.Offset}))
        ShowHit();
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
    ShowHit();
}

void TFormMain::ShowHit() {
    RestoreLastPagePending = false;
    Setting.AutoPageTurn = false;
    Setting.ShowUnderline = true;
    UnderlineVisible = true;
    ShowBook();
}
