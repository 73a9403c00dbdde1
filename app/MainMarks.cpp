// Connecting the menu items of search, go-to-page, bookmarks and clearing.
#include "Main.h"

void TFormMain::ConnectMarks() {
    FormSearch = std::make_unique<TFormSearch>();
    connect(Menus->ItemSearch, &QAction::triggered, this, &TFormMain::ItemSearchClick);
    connect(Menus->ItemSearchNext, &QAction::triggered, this, &TFormMain::ItemSearchNextClick);
}
