#include "MainMenu.h"

#include "WebShortcuts.h"
#include "records/Global.h"
#include "text/Encoding.h"

#include <QActionGroup>

QString LiteralMenuText(const std::string& utf8) {
    return QString::fromStdString(CutLongText(utf8, MaxMenuTextChars)).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

MainMenu::MainMenu(QWidget* owner)
    : QObject(owner), MenuMain(new QMenu(owner)), MenuPageMove(new QMenu(owner)) {
    MenuMain->setObjectName(QStringLiteral("MenuMain"));
    MenuPageMove->setObjectName(QStringLiteral("MenuPageMove"));
    BuildMainMenu();
    BuildPageMenu();
}

void MainMenu::BuildMainMenu() {
    QMenu* m = MenuMain;
    ItemOpen = AddItem(m, "ItemOpen", QStringLiteral("打开文件..."), Qt::CTRL | Qt::Key_O);
    ItemNew = AddMenu(m, "ItemNew", QStringLiteral("最新文件"));
    N8 = AddSeparator(ItemNew, "N8");
    ItemLib = AddItem(ItemNew, "ItemLib", QStringLiteral("生成书库文件..."), Qt::CTRL | Qt::Key_K);

    ItemDeal = AddMenu(m, "ItemDeal", QStringLiteral("文件处理"));
    ItemBIG5 =
        AddItem(ItemDeal, "ItemBIG5", QStringLiteral("BIG5码转换为GB码"), Qt::CTRL | Qt::Key_B);
    ItemGB =
        AddItem(ItemDeal, "ItemGB", QStringLiteral("GB码转换为BIG5码   "), Qt::CTRL | Qt::Key_G);
    ItemHtml = AddItem(ItemDeal, "ItemHtml", QStringLiteral("处理HTML文件"), Qt::CTRL | Qt::Key_H);
    ItemChap = AddItem(ItemDeal, "ItemChap", QStringLiteral("智能分段"), Qt::CTRL | Qt::Key_F);
    ItemHangD = AddItem(ItemDeal, "ItemHangD", QStringLiteral("行距加倍"), Qt::CTRL | Qt::Key_D);
    ItemUnderLine =
        AddItem(ItemDeal, "ItemUnderLine", QStringLiteral("显示下划线"), Qt::CTRL | Qt::Key_U);
    for (QAction* item : {ItemBIG5, ItemGB, ItemHtml, ItemChap, ItemHangD, ItemUnderLine})
        item->setCheckable(true);
    BuildCodeMenu();
    ItemEdit = AddItem(ItemDeal, "ItemEdit", QStringLiteral("编辑"), Qt::CTRL | Qt::Key_E);
    ItemRefresh = AddItem(ItemDeal, "ItemRefresh", QStringLiteral("刷新"), Qt::Key_F5);
    AddSeparator(ItemDeal, "N14");
    ItemSearch = AddItem(ItemDeal, "ItemSearch", QStringLiteral("查找..."), Qt::CTRL | Qt::Key_F3);
    ItemSearchNext = AddItem(ItemDeal, "ItemSearchNext", QStringLiteral("查找下一个"), Qt::Key_F3);
    ItemSearchPrev =
        AddItem(ItemDeal, "ItemSearchPrev", QStringLiteral("查找上一个"), Qt::SHIFT | Qt::Key_F3);
    ItemSearchAll = AddItem(ItemDeal, "ItemSearchAll", QStringLiteral("查找全部..."));
    AddSeparator(m, "N9");

    ItemLabel = AddMenu(m, "ItemLabel", QStringLiteral("书签处理"));
    ItemAddLabel =
        AddItem(ItemLabel, "ItemAddLabel", QStringLiteral("添加书签..."), Qt::CTRL | Qt::Key_L);
    ItemEditLabel = AddItem(ItemLabel, "ItemEditLabel", QStringLiteral("修改书签..."));
    ItemDeleteLabel =
        AddItem(ItemLabel, "ItemDeleteLabel", QStringLiteral("删除书签..."), Qt::Key_Delete);
    ItemLabelInput = AddMenu(m, "ItemLabelInput", QStringLiteral("指定书签"));
    ItemChapters = AddItem(m, "ItemChapters", QStringLiteral("目录..."), Qt::CTRL | Qt::Key_M);
    ItemInputYe = AddItem(m, "ItemInputYe", QStringLiteral("指定页..."), Qt::CTRL | Qt::Key_Y);
    AddSeparator(m, "N12");

    QAction** web[] = {&ItemReadClip, &ItemRecordTime, &ItemAbout};
    for (std::size_t i = 0; i < WebShortcuts.size(); ++i)
        *web[i] = AddItem(m, WebShortcuts[i].Name, QString::fromUtf8(WebShortcuts[i].Caption),
                          WebShortcuts[i].Shortcut);
    AddSeparator(m, "N2");
    ItemSetup = AddItem(m, "ItemSetup", QStringLiteral("设置..."), Qt::CTRL | Qt::Key_S);
    AddSeparator(m, "N5");
    ItemShow = AddItem(m, "ItemShow", QStringLiteral("显示书本"), Qt::CTRL | Qt::Key_N);
    ItemMax = AddItem(m, "ItemMax", QStringLiteral("最大化显示"), Qt::CTRL | Qt::Key_I);
    ItemClearNewItem =
        AddItem(m, "ItemClearNewItem", QStringLiteral("清除阅读记录..."), Qt::CTRL | Qt::Key_C);
    AddSeparator(m, "N7");
    ItemQuit = AddItem(m, "ItemQuit", QStringLiteral("退出"), Qt::CTRL | Qt::Key_T);
}

// The page menu shows its keys in the captions: they act through the keyboard map.
void MainMenu::BuildPageMenu() {
    QMenu* m = MenuPageMove;
    ItemPagePrev = AddItem(m, "ItemPagePrev", QStringLiteral("上一页"));
    ItemPageNext = AddItem(m, "ItemPageNext", QStringLiteral("下一页"));
    AddSeparator(m, "N3");
    ItemPageFirst = AddItem(m, "ItemPageFirst", QStringLiteral("第一页        Home"));
    ItemPageLast = AddItem(m, "ItemPageLast", QStringLiteral("最后一页      End"));
    AddSeparator(m, "N4");
    ItemInputYe1 = AddItem(m, "ItemInputYe1", QStringLiteral("指定页...     Ctrl+Y"));
    ItemChapterPrev = AddItem(m, "ItemChapterPrev", QStringLiteral("上一章        ["));
    ItemChapterNext = AddItem(m, "ItemChapterNext", QStringLiteral("下一章        ]"));
    AddSeparator(m, "N6");
    ItemFilePrev = AddItem(m, "ItemFilePrev", QStringLiteral("上一篇小说    <"));
    ItemFileNext = AddItem(m, "ItemFileNext", QStringLiteral("下一篇小说    >"));
    AddSeparator(m, "N15");
    ItemAutoRead = AddItem(m, "ItemAutoRead", QStringLiteral("自动阅读      A"));
    ItemAutoRead->setCheckable(true);
}

QAction* MainMenu::AddItem(QMenu* menu, const char* name, const QString& caption,
                           const QKeySequence& shortcut) {
    auto* item = new QAction(caption, menu);
    item->setObjectName(QString::fromLatin1(name));
    // Shown in the menu only; the book dispatches its shortcuts itself, in menu order.
    item->setShortcut(shortcut);
    item->setShortcutContext(Qt::WidgetShortcut);
    menu->addAction(item);
    return item;
}

// "文字编码": the encoding the open document is read in; each item holds its stored name.
void MainMenu::BuildCodeMenu() {
    ItemCode = AddMenu(ItemDeal, "ItemCode", QStringLiteral("文字编码"));
    auto* group = new QActionGroup(ItemCode);
    const std::pair<const char*, QString> rows[] = {
        {"ItemCodeAuto", QStringLiteral("自动识别")},
        {"ItemCodeGb", QStringLiteral("GB (GBK/GB18030)")},
        {"ItemCodeBig5", QStringLiteral("BIG5")},
        {"ItemCodeUtf8", QStringLiteral("UTF-8")},
        {"ItemCodeUtf16Le", QStringLiteral("UTF-16LE")},
        {"ItemCodeUtf16Be", QStringLiteral("UTF-16BE")},
    };
    const EncodingChoice choices[] = {EncodingChoice::Auto,    EncodingChoice::Gb,
                                      EncodingChoice::Big5,    EncodingChoice::Utf8,
                                      EncodingChoice::Utf16Le, EncodingChoice::Utf16Be};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        QAction* item = AddItem(ItemCode, rows[i].first, rows[i].second, {});
        item->setCheckable(true);
        item->setData(QString::fromStdString(std::string(ChoiceName(choices[i]))));
        group->addAction(item);
    }
}

QList<QAction*> MainMenu::CodeItems() const {
    return ItemCode->actions();
}

QMenu* MainMenu::AddMenu(QMenu* parent, const char* name, const QString& caption) {
    auto* menu = new QMenu(caption, parent);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    parent->addMenu(menu);
    return menu;
}

QAction* MainMenu::AddSeparator(QMenu* menu, const char* name) {
    QAction* separator = menu->addSeparator();
    separator->setObjectName(QString::fromLatin1(name));
    return separator;
}

void MainMenu::ShowCaptions(bool bookShown, bool maximized) {
    ItemShow->setText(bookShown ? QStringLiteral("隐藏书本") : QStringLiteral("显示书本"));
    ItemMax->setText(maximized ? QStringLiteral("恢复显示") : QStringLiteral("最大化显示"));
}

void MainMenu::ClearRecent() {
    for (QAction* item : RecentItems()) {
        ItemNew->removeAction(item);
        item->deleteLater();
    }
}

QAction* MainMenu::AddRecent(const QString& caption) {
    auto* item = new QAction(caption, ItemNew);
    ItemNew->insertAction(N8, item);
    return item;
}

QList<QAction*> MainMenu::RecentItems() const {
    QList<QAction*> items = ItemNew->actions();
    items.resize(items.indexOf(N8));
    return items;
}

void MainMenu::SetLocked(bool locked) {
    if (locked == IsLocked)
        return;
    IsLocked = locked;
    const QList<QAction*> items = MenuMain->actions();
    if (locked) {
        EnabledBeforeLock.clear();
        for (QAction* item : items) {
            EnabledBeforeLock.push_back(item->isEnabled());
            item->setEnabled(false);
        }
    } else {
        for (qsizetype i = 0; i < items.size() && i < qsizetype(EnabledBeforeLock.size()); ++i)
            items[i]->setEnabled(EnabledBeforeLock[i]);
    }
}

bool MainMenu::DispatchShortcut(const QKeySequence& key) {
    return !key.isEmpty() && Dispatch(MenuMain, key, MenuMain->isEnabled());
}

bool MainMenu::Dispatch(QMenu* menu, const QKeySequence& key, bool enabled) {
    for (QAction* item : menu->actions()) {
        if (QMenu* sub = item->menu()) {
            if (Dispatch(sub, key, enabled && item->isEnabled() && sub->isEnabled()))
                return true;
            continue;
        }
        if (item->isSeparator() || item->shortcut() != key)
            continue;
        if (enabled && item->isEnabled())
            item->trigger();
        return true;
    }
    return false;
}
