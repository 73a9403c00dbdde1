#include "Tray.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QStyleHints>

bool TrayClickFilter::Accept(QSystemTrayIcon::ActivationReason reason, qint64 ms) {
    const bool soonAfterTrigger = LastTrigger && ms - *LastTrigger <= Interval;
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        if (soonAfterTrigger)
            return false; // the second press of a double click on a tray that sends two
        LastTrigger = ms;
        return true;
    case QSystemTrayIcon::DoubleClick:
        return !soonAfterTrigger; // the first press has already toggled the book
    default:
        return false;
    }
}

QIcon BookIcon() {
    return QIcon(QStringLiteral(":/mojuan.png"));
}

namespace {

qint64 MonotonicMs() {
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock.elapsed();
}

} // namespace

BookTray::BookTray(QObject* parent)
    : QObject(parent), AvailableCheck(&QSystemTrayIcon::isSystemTrayAvailable), Now(&MonotonicMs),
      TrayIcon(new QSystemTrayIcon(BookIcon(), this)),
      Clicks(QGuiApplication::styleHints()->mouseDoubleClickInterval()) {
    TrayIcon->setToolTip(QString::fromUtf8(TrayTip));
    connect(TrayIcon, &QSystemTrayIcon::activated, this, &BookTray::Activated);
}

void BookTray::Show() {
    TrayIcon->show();
}

bool BookTray::Available() const {
    return AvailableCheck();
}

void BookTray::Activated(QSystemTrayIcon::ActivationReason reason) {
    if (QApplication::activeModalWidget())
        return;
    if (reason == QSystemTrayIcon::Context) {
        if (MenuAllowed())
            emit MenuRequested(QCursor::pos());
    } else if (Clicks.Accept(reason, Now())) {
        emit ToggleRequested();
    }
}
