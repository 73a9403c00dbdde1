// The book window's side of bookmarks: the caption dialog, the commands and the two submenus.
#include "Main.h"

#include "dialogs/LabelInput.h"
#include "records/Global.h"

#include <QLineEdit>

namespace {

bool Confirm(const std::string& question) {
    return AskConfirm(question);
}

} // namespace

BookmarkContext TFormMain::MarksContext() {
    return {Book.HasDocument(),
            List->StorageIndex(List->CurrentIndex),
            Book.CurrentPage(),
            Book.PageCount(),
            Book.DocumentName(),
            Book.Place(),
            [this](const TextPosition& place) { return Book.OnShownPair(place); },
            [this](const TextPosition& place) { return Book.Holds(place); }};
}

bool TFormMain::LabelOnPage() {
    return Book.HasDocument() && Marks->OnPair(MarksContext());
}

// With the bookmarks, the rest of the document's record: its chapter pattern.
void TFormMain::LoadBookmarks() {
    LoadChapterPattern();
    Marks->Load(List->StorageIndex(List->CurrentIndex));
    BookmarksChanged();
}

Bookmarks::AskCaption TFormMain::AskCaption(const QString& title) {
    return [this, title](const std::string& preset) -> std::optional<std::string> {
        TFormLabelInput dialog; // centred on the screen
        dialog.setWindowTitle(title);
        dialog.EditLabelInput->setText(QString::fromStdString(preset));
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.EditLabelInput->text().toStdString();
    };
}

void TFormMain::ItemAddLabelClick() {
    ShowMainForm();
    if (std::optional<UserMessage> message =
            Marks->Add(MarksContext(), AskCaption(QStringLiteral("添加书签"))))
        Tell(*message);
    BookmarksChanged();
}

void TFormMain::ItemEditLabelClick() {
    ShowMainForm();
    Marks->Edit(MarksContext(), AskCaption(QStringLiteral("修改书签")));
    BookmarksChanged();
}

void TFormMain::ItemDeleteLabelClick() {
    ShowMainForm();
    Marks->Delete(MarksContext(), Confirm);
    BookmarksChanged();
}

void TFormMain::OnLabelInputClick(int k) {
    const Bookmarks::Destination to = Marks->Follow(MarksContext(), k, Confirm);
    if (to.Mark) {
        RestoreLastPagePending = false;
        if (!to.Mark->Place || !Book.GoTo(*to.Mark->Place))
            Book.GoToPage(to.Mark->Page);
        ShowBook();
    }
    if (to.Message)
        Tell(*to.Message);
    BookmarksChanged();
}

// The submenu is rebuilt and the items' states set again after every change, so that neither
// the menu nor a shortcut offers what no longer applies.
void TFormMain::BookmarksChanged() {
    Menus->ItemLabelInput->clear();
    for (int k = 0; k < Marks->Count(); ++k) {
        QAction* item = Menus->ItemLabelInput->addAction(LiteralMenuText(Marks->At(k).Caption));
        connect(item, &QAction::triggered, this, [this, k] { OnLabelInputClick(k); });
    }
    UpdateBookmarkMenu();
}

// Whether a bookmark is on the shown pair changes with every pair shown, so the items follow
// each pair, not only the menu's last opening. Until the pages are counted (see
// CountPagesLater) they wait, as a bookmark of an older record names only its page.
void TFormMain::UpdateBookmarkMenu() {
    if (!Marks || Book.Snapshot().PageCount == 0)
        return;
    const BookmarkMenuState state = Marks->MenuState(MarksContext());
    Menus->ItemLabel->setEnabled(state.Label);
    Menus->ItemAddLabel->setEnabled(state.AddLabel);
    Menus->ItemEditLabel->setEnabled(state.EditLabel);
    Menus->ItemDeleteLabel->setEnabled(state.DeleteLabel);
    Menus->ItemLabelInput->setEnabled(state.LabelInput);
    const QList<QAction*> items = Menus->ItemLabelInput->actions();
    Menus->ItemLabelInput->setDefaultAction(
        state.DefaultItem >= 0 && state.DefaultItem < items.size() ? items[state.DefaultItem]
                                                                   : nullptr);
}
