#include "MainMenu.h"

QString LiteralMenuText(const std::string& utf8) {
    return QString::fromStdString(utf8).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

MainMenu::MainMenu(QWidget* owner)
    : QObject(owner), MenuMain(new QMenu(owner)),
      ItemOpen(AddItem(MenuMain, "ItemOpen", QStringLiteral("打开文件..."), Qt::CTRL | Qt::Key_O)),
      ItemNew(new QMenu(QStringLiteral("最新文件"), MenuMain)), N8(ItemNew->addSeparator()),
      ItemLib(AddItem(ItemNew, "ItemLib", QStringLiteral("生成书库文件..."), Qt::CTRL | Qt::Key_K)),
      ItemDeal(new QMenu(QStringLiteral("文件处理"), MenuMain)),
      ItemBIG5(
          AddItem(ItemDeal, "ItemBIG5", QStringLiteral("BIG5码转换为GB码"), Qt::CTRL | Qt::Key_B)),
      ItemGB(
          AddItem(ItemDeal, "ItemGB", QStringLiteral("GB码转换为BIG5码   "), Qt::CTRL | Qt::Key_G)),
      ItemHtml(AddItem(ItemDeal, "ItemHtml", QStringLiteral("处理HTML文件"), Qt::CTRL | Qt::Key_H)),
      ItemChap(AddItem(ItemDeal, "ItemChap", QStringLiteral("智能分段"), Qt::CTRL | Qt::Key_F)),
      ItemHangD(AddItem(ItemDeal, "ItemHangD", QStringLiteral("行距加倍"), Qt::CTRL | Qt::Key_D)),
      ItemUnderLine(
          AddItem(ItemDeal, "ItemUnderLine", QStringLiteral("显示下划线"), Qt::CTRL | Qt::Key_U)),
      ItemRefresh(AddItem(ItemDeal, "ItemRefresh", QStringLiteral("刷新"), Qt::Key_F5)),
      ItemSearch(new QAction(QStringLiteral("查找..."), ItemDeal)),
      ItemSearchNext(new QAction(QStringLiteral("查找下一个"), ItemDeal)),
      ItemLabel(new QMenu(QStringLiteral("书签处理"), MenuMain)),
      ItemAddLabel(
          AddItem(ItemLabel, "ItemAddLabel", QStringLiteral("添加书签..."), Qt::CTRL | Qt::Key_L)),
      ItemEditLabel(AddItem(ItemLabel, "ItemEditLabel", QStringLiteral("修改书签..."))),
      ItemDeleteLabel(
          AddItem(ItemLabel, "ItemDeleteLabel", QStringLiteral("删除书签..."), Qt::Key_Delete)),
      ItemLabelInput(new QMenu(QStringLiteral("指定书签"), MenuMain)),
      ItemInputYe(new QAction(QStringLiteral("指定页..."), MenuMain)),
      ItemSetup(new QAction(QStringLiteral("设置..."), MenuMain)),
      ItemShow(new QAction(QStringLiteral("显示书本"), MenuMain)),
      ItemMax(new QAction(QStringLiteral("最大化显示"), MenuMain)),
      ItemClearNewItem(new QAction(QStringLiteral("清除阅读记录..."), MenuMain)),
      ItemQuit(new QAction(QStringLiteral("退出"), MenuMain)), MenuPageMove(new QMenu(owner)),
      ItemPagePrev(AddItem(MenuPageMove, "ItemPagePrev", QStringLiteral("上一页"))),
      ItemPageNext(AddItem(MenuPageMove, "ItemPageNext", QStringLiteral("下一页"))),
      ItemPageFirst(new QAction(QStringLiteral("第一页        Home"), MenuPageMove)),
      ItemPageLast(new QAction(QStringLiteral("最后一页      End"), MenuPageMove)),
      ItemInputYe1(new QAction(QStringLiteral("指定页...     Ctrl+Y"), MenuPageMove)),
      ItemFilePrev(new QAction(QStringLiteral("上一篇小说    <"), MenuPageMove)),
      ItemFileNext(new QAction(QStringLiteral("下一篇小说    >"), MenuPageMove)) {
    MenuMain->setObjectName(QStringLiteral("MenuMain"));
    ItemNew->setObjectName(QStringLiteral("ItemNew"));
    ItemDeal->setObjectName(QStringLiteral("ItemDeal"));
    N8->setObjectName(QStringLiteral("N8"));
    MenuMain->addMenu(ItemNew);
    MenuMain->addMenu(ItemDeal);
    for (QAction* item : {ItemBIG5, ItemGB, ItemHtml, ItemChap, ItemHangD, ItemUnderLine})
        item->setCheckable(true);
    ItemDeal->addSeparator();
    Place(ItemDeal, ItemSearch, "ItemSearch", Qt::CTRL | Qt::Key_F3);
    Place(ItemDeal, ItemSearchNext, "ItemSearchNext", Qt::Key_F3);
    MenuMain->addSeparator();
    ItemLabel->setObjectName(QStringLiteral("ItemLabel"));
    MenuMain->addMenu(ItemLabel);
    ItemLabelInput->setObjectName(QStringLiteral("ItemLabelInput"));
    MenuMain->addMenu(ItemLabelInput);
    Place(MenuMain, ItemInputYe, "ItemInputYe", Qt::CTRL | Qt::Key_Y);
    MenuMain->addSeparator();
    Place(MenuMain, ItemSetup, "ItemSetup", Qt::CTRL | Qt::Key_S);
    MenuMain->addSeparator();
    Place(MenuMain, ItemShow, "ItemShow", Qt::CTRL | Qt::Key_N);
    Place(MenuMain, ItemMax, "ItemMax", Qt::CTRL | Qt::Key_I);
    Place(MenuMain, ItemClearNewItem, "ItemClearNewItem", Qt::CTRL | Qt::Key_C);
    MenuMain->addSeparator();
    ItemQuit->setObjectName(QStringLiteral("ItemQuit"));
    ItemQuit->setShortcut(Qt::CTRL | Qt::Key_T);
    ItemQuit->setShortcutContext(Qt::WidgetShortcut);
    MenuMain->addAction(ItemQuit);

    // The page menu shows its keys in the captions: they act through the keyboard map.
    MenuPageMove->setObjectName(QStringLiteral("MenuPageMove"));
    MenuPageMove->addSeparator();
    ItemPageFirst->setObjectName(QStringLiteral("ItemPageFirst"));
    ItemPageLast->setObjectName(QStringLiteral("ItemPageLast"));
    MenuPageMove->addAction(ItemPageFirst);
    MenuPageMove->addAction(ItemPageLast);
    MenuPageMove->addSeparator();
    ItemInputYe1->setObjectName(QStringLiteral("ItemInputYe1"));
    MenuPageMove->addAction(ItemInputYe1);
    MenuPageMove->addSeparator();
    ItemFilePrev->setObjectName(QStringLiteral("ItemFilePrev"));
    ItemFileNext->setObjectName(QStringLiteral("ItemFileNext"));
    MenuPageMove->addAction(ItemFilePrev);
    MenuPageMove->addAction(ItemFileNext);
}

QAction* MainMenu::AddItem(QMenu* menu, const char* name, const QString& caption,
                           const QKeySequence& shortcut) {
    auto* item = new QAction(caption, menu);
    Place(menu, item, name, shortcut);
    return item;
}

void MainMenu::Place(QMenu* menu, QAction* item, const char* name, const QKeySequence& shortcut) {
    item->setObjectName(QString::fromLatin1(name));
    // Shown in the menu only; the book dispatches its shortcuts itself, in menu order.
    item->setShortcut(shortcut);
    item->setShortcutContext(Qt::WidgetShortcut);
    menu->addAction(item);
}

void MainMenu::ShowCaptions(bool bookShown, bool maximized) {
    ItemShow->setText(bookShown ? QStringLiteral("隐藏书本") : QStringLiteral("显示书本"));
    ItemMax->setText(maximized ? QStringLiteral("恢复显示") : QStringLiteral("最大化显示"));
}

bool MainMenu::DispatchShortcut(const QKeySequence& key) {
    return !key.isEmpty() && Dispatch(MenuMain, key);
}

bool MainMenu::Dispatch(QMenu* menu, const QKeySequence& key) {
    for (QAction* item : menu->actions()) {
        if (QMenu* sub = item->menu()) {
            if (Dispatch(sub, key))
                return true;
            continue;
        }
        if (item->shortcut() != key)
            continue;
        if (item->isEnabled() && menu->isEnabled())
            item->trigger();
        return true;
    }
    return false;
}
