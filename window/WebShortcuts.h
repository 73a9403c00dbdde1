#pragma once
// The three web shortcuts of the main menu: each opens one fixed web page in the user's
// browser. They do not show the book and record nothing.
#include <QKeySequence>
#include <QUrl>

#include <array>
#include <functional>

struct WebShortcut {
    const char* Name;    // the menu item
    const char* Caption; // names the service the address leads to
    QKeyCombination Shortcut;
    const char* Address;
};

inline const std::array<WebShortcut, 3> WebShortcuts{{
    {"ItemReadClip", "淘宝网", Qt::CTRL | Qt::Key_C, "https://www.taobao.com/"},
    {"ItemRecordTime", "一淘团购", Qt::CTRL | Qt::Key_V, "https://ju.taobao.com/"},
    {"ItemAbout", "百度搜索", Qt::CTRL | Qt::Key_X, "https://www.baidu.com/"},
}};

// How an address is opened; the default hands it to the desktop (QDesktopServices::openUrl).
// Tests install a stand-in. An empty opener restores the default; returns the previous one.
using UrlOpener = std::function<void(const QUrl&)>;
UrlOpener SetUrlOpener(UrlOpener opener);

// Opens shortcut i of the table. A failure (no browser) is not reported: the book is unaffected.
void OpenWebShortcut(std::size_t i);
