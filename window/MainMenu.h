#pragma once
// The two popup menus of the book: the main menu (right click on the book or on the tray icon)
// and the page menu (right click on a page-turn strip). Items are named as the commands that
// they run; captions are shown exactly as written, trailing spaces included.
#include <QAction>
#include <QMenu>
#include <QObject>

#include <string>
#include <vector>

// A menu caption made from a file name or the user's text, shown as it is: "&" would otherwise
// mark the next character as the item's accelerator and disappear. A long text is cut in its
// middle.
QString LiteralMenuText(const std::string& utf8);

class MainMenu : public QObject {
    Q_OBJECT

public:
    explicit MainMenu(QWidget* owner);

    QMenu* MenuMain;
    QAction* ItemOpen;
    QMenu* ItemNew; // "最新文件": the recent entries, then N8 and ItemLib
    QAction* N8;
    QAction* ItemLib;
    QMenu* ItemDeal; // "文件处理"
    QAction* ItemBIG5;
    QAction* ItemGB;
    QAction* ItemHtml;
    QAction* ItemChap;
    QAction* ItemHangD;
    QAction* ItemUnderLine;
    QMenu* ItemCode; // "文字编码": one checkable item per encoding, its stored name as data
    QAction* ItemEdit;
    QAction* ItemRefresh;
    QAction* ItemSearch;
    QAction* ItemSearchNext;
    QAction* ItemSearchPrev;
    QAction* ItemSearchAll; // "查找全部...": every hit in a list
    QMenu* ItemLabel; // "书签处理"
    QAction* ItemAddLabel;
    QAction* ItemEditLabel;
    QAction* ItemDeleteLabel;
    QMenu* ItemLabelInput; // "指定书签": one item per bookmark
    QAction* ItemChapters;  // "目录...": the chapter list
    QAction* ItemInputYe;
    QAction* ItemReadClip; // the three web shortcuts
    QAction* ItemRecordTime;
    QAction* ItemAbout;
    QAction* ItemSetup;
    QAction* ItemShow; // caption switches with the book's visibility
    QAction* ItemMax;  // caption switches with the maximised state
    QAction* ItemClearNewItem;
    QAction* ItemQuit;

    QMenu* MenuPageMove;
    QAction* ItemPagePrev;
    QAction* ItemPageNext;
    QAction* ItemPageFirst;
    QAction* ItemPageLast;
    QAction* ItemInputYe1;
    QAction* ItemChapterPrev; // also [ and Ctrl+PageUp
    QAction* ItemChapterNext; // also ] and Ctrl+PageDown
    QAction* ItemFilePrev;
    QAction* ItemFileNext;
    QAction* ItemAutoRead; // checked while automatic reading runs

    // A key that is a shortcut of the main menu runs the first item in menu order (depth first)
    // that carries it, if that item and every submenu above it were enabled when the menu last
    // opened; the key is used up either way. False when no item carries the key.
    bool DispatchShortcut(const QKeySequence& key);

    // The captions of the two items that switch.
    void ShowCaptions(bool bookShown, bool maximized);

    // The recent entries, placed in "最新文件" above its separator.
    void ClearRecent();
    QAction* AddRecent(const QString& caption);
    QList<QAction*> RecentItems() const;
    QList<QAction*> CodeItems() const;

    // While the book's text is being edited nothing on the main menu may run: locking disables
    // every item (so neither a popup, from the book or the tray, nor a shortcut runs one) and
    // unlocking gives them back the states the last popup set.
    void SetLocked(bool locked);
    bool Locked() const { return IsLocked; }

private:
    QAction* AddItem(QMenu* menu, const char* name, const QString& caption,
                     const QKeySequence& shortcut = {});
    QMenu* AddMenu(QMenu* parent, const char* name, const QString& caption);
    QAction* AddSeparator(QMenu* menu, const char* name);
    void BuildMainMenu();
    void BuildCodeMenu();
    void BuildPageMenu();
    bool Dispatch(QMenu* menu, const QKeySequence& key, bool enabled);

    bool IsLocked = false;
    std::vector<bool> EnabledBeforeLock;
};
