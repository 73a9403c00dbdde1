// The book window's side of searching: the dialog, find-next and showing a hit.
#include "Main.h"

#include "dialogs/SearchAll.h"
#include "reader/HitList.h"
#include "reader/Search.h"

namespace {

// Chunks searched between two looks at the book's events: about 2 MB.
constexpr int HitChunksPerStep = 8;

} // namespace

// Made when first asked for: a start that never searches does not pay for the dialog.
TFormSearch& TFormMain::SearchForm() {
    if (!FormSearch)
        FormSearch = std::make_unique<TFormSearch>();
    return *FormSearch;
}

void TFormMain::ItemSearchClick() {
    ShowMainForm();
    if (SearchForm().exec() != QDialog::Accepted)
        return;
    if (!SearchForm().FindText().isEmpty())
        DoSearch(SearchForm().FindText(), SearchForm().MatchCase());
}

void TFormMain::ItemSearchNextClick() {
    ShowMainForm();
    if (SearchForm().FindText().isEmpty())
        return ItemSearchClick();
    DoSearch(SearchForm().FindText(), SearchForm().MatchCase());
}

void TFormMain::ItemSearchPrevClick() {
    ShowMainForm();
    if (SearchForm().FindText().isEmpty())
        return ItemSearchClick();
    const std::string utf8 = SearchForm().FindText().toStdString();
    const std::optional<std::string> bytes = SearchBytes(utf8);
    if (!bytes || !Book.SearchPrevious(*bytes, SearchForm().MatchCase(), Setting.ShowUnderline))
        return Tell(NotFoundMessage(utf8, SearchForm().MatchCase()));
    ShowHit();
}

// Every hit in a list that fills while the search goes on; the one chosen is shown underlined.
void TFormMain::ItemSearchAllClick() {
    ShowMainForm();
    if (SearchForm().exec() != QDialog::Accepted || SearchForm().FindText().isEmpty())
        return;
    const std::optional<std::string> bytes = SearchBytes(SearchForm().FindText().toStdString());
    HitList hits(Book, bytes.value_or(""), SearchForm().MatchCase());
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
