// The book window's side of clearing reading records.
#include "Main.h"

#include "dialogs/ClearNewForm.h"

void TFormMain::ItemClearNewItemClick() {
    ShowMainForm();
    // Centred on the screen, as a dialog without a parent is.
    TFormClearNew dialog(List->Count());
    if (dialog.exec() != QDialog::Accepted)
        return;
    ClearNewItems(*List, Reg, dialog.Choice());
    // The open document's bookmarks stay shown, but it may no longer be on the list.
    UpdateBookmarkMenu();
}
