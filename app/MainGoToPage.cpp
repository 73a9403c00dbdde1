// The book window's side of going to a page by number.
#include "Main.h"

#include "dialogs/InputYe.h"

// A document of one or two pages fits on one pair, so there is nowhere to go.
void TFormMain::ItemInputYeClick() {
    ShowMainForm();
    if (Book.PageCount() < 3)
        return;
    TFormInputYe dialog(Book.CurrentPage(), Book.PageCount(), this);
    if (dialog.exec() == QDialog::Accepted)
        ChangeYe(dialog.ResultPage);
}
