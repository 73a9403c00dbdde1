// Connecting the menu items of search, go-to-page, bookmarks and clearing.
#include "Main.h"

void TFormMain::ConnectMarks() {
    Marks = std::make_unique<Bookmarks>(Reg);
    Marks->Tell = [this](const UserMessage& message) { Tell(message); };
    connect(Menus->ItemSearch, &QAction::triggered, this, &TFormMain::ItemSearchClick);
    connect(Menus->ItemSearchNext, &QAction::triggered, this, &TFormMain::ItemSearchNextClick);
    connect(Menus->ItemSearchPrev, &QAction::triggered, this, &TFormMain::ItemSearchPrevClick);
    connect(Menus->ItemSearchAll, &QAction::triggered, this, &TFormMain::ItemSearchAllClick);
    connect(Menus->ItemInputYe, &QAction::triggered, this, &TFormMain::ItemInputYeClick);
    connect(Menus->ItemInputYe1, &QAction::triggered, this, &TFormMain::ItemInputYeClick);
    connect(Menus->ItemAddLabel, &QAction::triggered, this, &TFormMain::ItemAddLabelClick);
    connect(Menus->ItemEditLabel, &QAction::triggered, this, &TFormMain::ItemEditLabelClick);
    connect(Menus->ItemDeleteLabel, &QAction::triggered, this, &TFormMain::ItemDeleteLabelClick);
    connect(Menus->ItemClearNewItem, &QAction::triggered, this, &TFormMain::ItemClearNewItemClick);
    // The main menu's part runs inside MenuMainPopup; the page menu's after its own handler.
    connect(Menus->MenuPageMove, &QMenu::aboutToShow, this, &TFormMain::MenuPageMarksPopup);
}

void TFormMain::MenuMarksPopup() {
    UpdateBookmarkMenu();
    Menus->ItemClearNewItem->setEnabled(List->Count() > 0);
    Menus->ItemInputYe->setEnabled(Book.PageCount() > 2);
}

void TFormMain::MenuPageMarksPopup() {
    Menus->ItemInputYe1->setEnabled(Book.PageCount() > 2);
}
