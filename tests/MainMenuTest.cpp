// test-links: mojuan_window
#include "window/MainMenu.h"

#include <QSignalSpy>
#include <QWidget>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// One row per item, depth first; submenu items indented by two spaces; separators as "—".
std::vector<std::string> Rows(QMenu* menu, const std::string& indent = "") {
    std::vector<std::string> rows;
    for (QAction* item : menu->actions()) {
        if (item->isSeparator()) {
            rows.push_back(indent + item->objectName().toStdString() + " —");
            continue;
        }
        std::string row = indent + item->objectName().toStdString() + " \"" +
                          item->text().toStdString() + "\"";
        if (!item->shortcut().isEmpty())
            row += " " + item->shortcut().toString().toStdString();
        rows.push_back(row);
        if (item->menu())
            for (const std::string& sub : Rows(item->menu(), indent + "  "))
                rows.push_back(sub);
    }
    return rows;
}

TEST(MainMenuTest, EveryItemInOrderWithItsCaptionAndShortcut) {
    QWidget owner;
    MainMenu menus(&owner);
    const std::vector<std::string> expected{
        "ItemOpen \"打开文件...\" Ctrl+O",
        "ItemNew \"最新文件\"",
        "  N8 —",
        "  ItemLib \"生成书库文件...\" Ctrl+K",
        "ItemDeal \"文件处理\"",
        "  ItemBIG5 \"BIG5码转换为GB码\" Ctrl+B",
        "  ItemGB \"GB码转换为BIG5码   \" Ctrl+G",
        "  ItemHtml \"处理HTML文件\" Ctrl+H",
        "  ItemChap \"智能分段\" Ctrl+F",
        "  ItemHangD \"行距加倍\" Ctrl+D",
        "  ItemUnderLine \"显示下划线\" Ctrl+U",
        "  ItemCode \"文字编码\"",
        "    ItemCodeAuto \"自动识别\"",
        "    ItemCodeGb \"GB (GBK/GB18030)\"",
        "    ItemCodeBig5 \"BIG5\"",
        "    ItemCodeUtf8 \"UTF-8\"",
        "    ItemCodeUtf16Le \"UTF-16LE\"",
        "    ItemCodeUtf16Be \"UTF-16BE\"",
        "  ItemEdit \"编辑\" Ctrl+E",
        "  ItemRefresh \"刷新\" F5",
        "  N14 —",
        "  ItemSearch \"查找...\" Ctrl+F3",
        "  ItemSearchNext \"查找下一个\" F3",
        "  ItemSearchPrev \"查找上一个\" Shift+F3",
        "  ItemSearchAll \"查找全部...\"",
        "N9 —",
        "ItemLabel \"书签处理\"",
        "  ItemAddLabel \"添加书签...\" Ctrl+L",
        "  ItemEditLabel \"修改书签...\"",
        "  ItemDeleteLabel \"删除书签...\" Del",
        "ItemLabelInput \"指定书签\"",
        "ItemChapters \"目录...\" Ctrl+M",
        "ItemInputYe \"指定页...\" Ctrl+Y",
        "N12 —",
        "ItemReadClip \"淘宝网\" Ctrl+C",
        "ItemRecordTime \"一淘团购\" Ctrl+V",
        "ItemAbout \"百度搜索\" Ctrl+X",
        "N2 —",
        "ItemSetup \"设置...\" Ctrl+S",
        "N5 —",
        "ItemShow \"显示书本\" Ctrl+N",
        "ItemMax \"最大化显示\" Ctrl+I",
        "ItemClearNewItem \"清除阅读记录...\" Ctrl+C",
        "N7 —",
        "ItemQuit \"退出\" Ctrl+T",
    };
    EXPECT_EQ(Rows(menus.MenuMain), expected);
    for (QAction* item : {menus.ItemBIG5, menus.ItemGB, menus.ItemHtml, menus.ItemChap,
                          menus.ItemHangD, menus.ItemUnderLine})
        EXPECT_TRUE(item->isCheckable());
}

TEST(MainMenuTest, AShortcutRunsTheFirstItemThatCarriesIt) {
    QWidget owner;
    MainMenu menus(&owner);
    QSignalSpy web(menus.ItemReadClip, &QAction::triggered);
    QSignalSpy clear(menus.ItemClearNewItem, &QAction::triggered);
    EXPECT_TRUE(menus.DispatchShortcut(Qt::CTRL | Qt::Key_C));
    EXPECT_EQ(web.count(), 1);
    EXPECT_EQ(clear.count(), 0);
    EXPECT_FALSE(menus.DispatchShortcut(Qt::CTRL | Qt::Key_W)); // no item carries it
}

TEST(MainMenuTest, ADisabledItemOrSubmenuSwallowsItsKey) {
    QWidget owner;
    MainMenu menus(&owner);
    QSignalSpy deleted(menus.ItemDeleteLabel, &QAction::triggered);
    const QKeySequence del(Qt::Key_Delete);
    menus.ItemDeleteLabel->setEnabled(false);
    EXPECT_TRUE(menus.DispatchShortcut(del));
    menus.ItemDeleteLabel->setEnabled(true);
    menus.ItemLabel->menuAction()->setEnabled(false);
    EXPECT_TRUE(menus.DispatchShortcut(del));
    EXPECT_EQ(deleted.count(), 0);
    menus.ItemLabel->menuAction()->setEnabled(true);
    EXPECT_TRUE(menus.DispatchShortcut(del));
    EXPECT_EQ(deleted.count(), 1);
}

TEST(MainMenuTest, LockingDisablesEveryItemAndUnlockingRestoresTheirStates) {
    QWidget owner;
    MainMenu menus(&owner);
    menus.ItemOpen->setEnabled(false);
    QSignalSpy quit(menus.ItemQuit, &QAction::triggered);
    QSignalSpy big5(menus.ItemBIG5, &QAction::triggered);
    menus.SetLocked(true);
    EXPECT_TRUE(menus.DispatchShortcut(Qt::CTRL | Qt::Key_T));
    EXPECT_TRUE(menus.DispatchShortcut(Qt::CTRL | Qt::Key_B));
    EXPECT_EQ(quit.count() + big5.count(), 0);
    for (QAction* item : menus.MenuMain->actions())
        EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
    menus.SetLocked(false);
    EXPECT_FALSE(menus.ItemOpen->isEnabled());
    EXPECT_TRUE(menus.ItemDeal->menuAction()->isEnabled());
    EXPECT_TRUE(menus.DispatchShortcut(Qt::CTRL | Qt::Key_T));
    EXPECT_EQ(quit.count(), 1);
}

TEST(MainMenuTest, RecentEntriesStandAboveTheLibraryItem) {
    QWidget owner;
    MainMenu menus(&owner);
    menus.AddRecent(QStringLiteral("1) a"));
    menus.AddRecent(QStringLiteral("2) b"));
    ASSERT_EQ(menus.RecentItems().size(), 2);
    EXPECT_EQ(menus.ItemNew->actions().at(1)->text(), QStringLiteral("2) b"));
    EXPECT_EQ(menus.ItemNew->actions().last(), menus.ItemLib);
    menus.ClearRecent();
    EXPECT_TRUE(menus.RecentItems().isEmpty());
    EXPECT_EQ(menus.ItemNew->actions().size(), 2);
}

} // namespace
