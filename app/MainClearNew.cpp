// The book window's side of clearing reading records.
#include "Main.h"

#include "dialogs/ClearNewForm.h"

void TFormMain::ItemClearNewItemClick() {
    ShowMainForm();
    TFormClearNew dialog(List->Count(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    ClearNewItems(*List, Reg, dialog.Choice());
    // The open document's bookmarks stay shown, but it may no longer be on the list.
    UpdateBookmarkMenu();
}
