#pragma once
// The book's icon in the notification area. It stays there for the whole run, whether the book
// is shown or hidden: a click toggles the book and a right click asks for the main menu. While a
// modal dialog is open the icon does not react, so a dialog is never stranded over a hidden book.
#include <QObject>
#include <QPoint>
#include <QSystemTrayIcon>
#include <functional>
#include <optional>

inline constexpr char TrayTip[] = "墨卷";

// Trays differ in what a click sends: some a single activation per click, some an activation
// and then a double click for the second press, some a double click alone. One gesture of the
// user toggles the book once, whatever the tray sends for it.
class TrayClickFilter {
public:
    explicit TrayClickFilter(int doubleClickMs) : Interval(doubleClickMs) {}
    // True when the activation at `ms` (a monotonic clock) is to toggle the book.
    bool Accept(QSystemTrayIcon::ActivationReason reason, qint64 ms);

private:
    int Interval;
    std::optional<qint64> LastTrigger;
};

class BookTray : public QObject {
    Q_OBJECT

public:
    explicit BookTray(QObject* parent = nullptr);

    // Whether the desktop has a tray now; asked at each hide, since a tray host may come and go.
    bool Available() const;
    // Puts the icon in the tray; the book calls it once its first pages are drawn.
    void Show();
    QSystemTrayIcon* Icon() const { return TrayIcon; }

    // Whether the main menu may open now (not while the text is being edited).
    std::function<bool()> MenuAllowed = [] { return true; };
    // Replaceable for tests: the tray's presence and the clock the click filter reads.
    std::function<bool()> AvailableCheck;
    std::function<qint64()> Now;

signals:
    void ToggleRequested();
    void MenuRequested(const QPoint& globalPos);

private:
    void Activated(QSystemTrayIcon::ActivationReason reason);

    QSystemTrayIcon* TrayIcon;
    TrayClickFilter Clicks;
};

// The program's own icon, for the tray and the window.
QIcon BookIcon();
