// Connecting the menu items of search, go-to-page, bookmarks and clearing.
#include "Main.h"

void TFormMain::ConnectMarks() {
    FormSearch = std::make_unique<TFormSearch>();
    Marks = std::make_unique<Bookmarks>(Reg);
    connect(Menus->ItemSearch, &QAction::triggered, this, &TFormMain::ItemSearchClick);
    connect(Menus->ItemSearchNext, &QAction::triggered, this, &TFormMain::ItemSearchNextClick);
    connect(Menus->ItemInputYe, &QAction::triggered, this, &TFormMain::ItemInputYeClick);
    connect(Menus->ItemInputYe1, &QAction::triggered, this, &TFormMain::ItemInputYeClick);
    connect(Menus->ItemAddLabel, &QAction::triggered, this, &TFormMain::ItemAddLabelClick);
    connect(Menus->ItemEditLabel, &QAction::triggered, this, &TFormMain::ItemEditLabelClick);
    connect(Menus->ItemDeleteLabel, &QAction::triggered, this, &TFormMain::ItemDeleteLabelClick);
    connect(Menus->ItemClearNewItem, &QAction::triggered, this, &TFormMain::ItemClearNewItemClick);
    // Connected after the menus' own popup handlers, so these run after them.
    connect(Menus->MenuMain, &QMenu::aboutToShow, this, &TFormMain::MenuMarksPopup);
    connect(Menus->MenuPageMove, &QMenu::aboutToShow, this, &TFormMain::MenuPageMarksPopup);
}

void TFormMain::MenuMarksPopup() {
    UpdateBookmarkMenu();
    Menus->ItemClearNewItem->setEnabled(List->Count() > 0);
    Menus->ItemInputYe->setEnabled(Store.PageCount > 2);
}

void TFormMain::MenuPageMarksPopup() {
    Menus->ItemInputYe1->setEnabled(Store.PageCount > 2);
}
