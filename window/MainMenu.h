#pragma once
// The two popup menus of the book: the main menu (right click on the book) and the page menu
// (right click on a page-turn strip). Items are named as the commands that they run.
#include <QAction>
#include <QMenu>
#include <QObject>

#include <string>

// A menu caption made from a file name or the user's text, shown as it is: "&" would otherwise
// mark the next character as the item's accelerator and disappear.
QString LiteralMenuText(const std::string& utf8);

class MainMenu : public QObject {
    Q_OBJECT

public:
    explicit MainMenu(QWidget* owner);

    QMenu* const MenuMain;
    QAction* const ItemOpen;
    QMenu* const ItemNew; // "最新文件": the recent entries, then N8 and ItemLib
    QAction* const N8;
    QAction* const ItemLib;
    QMenu* const ItemDeal;
    QAction* const ItemBIG5;
    QAction* const ItemGB;
    QAction* const ItemHtml;
    QAction* const ItemChap;
    QAction* const ItemHangD;
    QAction* const ItemUnderLine;
    QAction* const ItemRefresh;
    QAction* const ItemSearch;
    QAction* const ItemSearchNext;
    QMenu* const ItemLabel; // "书签处理"
    QAction* const ItemAddLabel;
    QAction* const ItemEditLabel;
    QAction* const ItemDeleteLabel;
    QMenu* const ItemLabelInput; // "指定书签": the open document's bookmarks
    QAction* const ItemInputYe;
    QAction* const ItemSetup;
    QAction* const ItemShow; // caption switches with the book's visibility
    QAction* const ItemMax;  // caption switches with the maximised state
    QAction* const ItemClearNewItem;
    QAction* const ItemQuit;

    QMenu* const MenuPageMove;
    QAction* const ItemPagePrev;
    QAction* const ItemPageNext;
    QAction* const ItemPageFirst;
    QAction* const ItemPageLast;
    QAction* const ItemInputYe1;
    QAction* const ItemFilePrev;
    QAction* const ItemFileNext;

    // A key that is a shortcut of the main menu runs the first item in menu order that carries
    // it, if that item and its submenu were enabled when the menu last opened; the key is used up
    // either way. False when no item carries the key.
    bool DispatchShortcut(const QKeySequence& key);

    // The captions of the two items that switch.
    void ShowCaptions(bool bookShown, bool maximized);

private:
    QAction* AddItem(QMenu* menu, const char* name, const QString& caption,
                     const QKeySequence& shortcut = {});
    // Adds an item made elsewhere to `menu`, named and with its shortcut.
    static void Place(QMenu* menu, QAction* item, const char* name,
                      const QKeySequence& shortcut = {});
    bool Dispatch(QMenu* menu, const QKeySequence& key);
};
