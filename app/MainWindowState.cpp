// The book window's states: shown, maximised, hidden (in the tray, or minimised where the
// desktop has no tray), and the tray icon that brings the book back.
#include "Main.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

void TFormMain::ConnectWindowState() {
    // The program ends through FormClose only; a message box closing while the book sits in
    // the tray must not end it.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    setWindowIcon(BookIcon());
    Moves = std::make_unique<QtSystemMoves>();
    Tray = new BookTray(this);
    // Registering with the tray host costs the start several milliseconds: it waits for the
    // first paint (see paintEvent), or for a second at the latest, for a book that starts
    // without drawing.
    QTimer::singleShot(TrayLatestMs, Tray, &BookTray::Show);
    connect(Tray, &BookTray::ToggleRequested, this, &TFormMain::ItemShowClick);
    Tray->MenuAllowed = [this] { return !EditMode; };
    connect(Tray, &BookTray::MenuRequested, this,
            [this](const QPoint& at) { Menus->MenuMain->popup(at); });
    connect(Menus->ItemShow, &QAction::triggered, this, &TFormMain::ItemShowClick);
    connect(Menus->ItemMax, &QAction::triggered, this, &TFormMain::ItemMaxClick);
    connect(Menus->ItemSetup, &QAction::triggered, this, &TFormMain::ItemSetupClick);
}

bool TFormMain::BookShown() const {
    return isVisible() && !isMinimized();
}

void TFormMain::ShowMainForm() {
    // The screens may have changed while the book was away.
    if (!isVisible() && !IsMaximized())
        move(KeepOnScreen(geometry(), ScreenAreas()).topLeft());
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void TFormMain::UpdateMainForm() {
    raise();
    repaint();
}

// Hidden books live on in the tray; without a tray a hidden book could never be brought back,
// so it is minimised instead. The tray is asked each time: a tray host may come and go.
void TFormMain::HideMainForm() {
    if (Tray->Available()) {
        Tray->Show();
        hide();
    }
    else
        showMinimized();
}

void TFormMain::ImageMinSizeClick() {
    HideMainForm();
}

void TFormMain::ItemShowClick() {
    if (BookShown())
        HideMainForm();
    else
        ShowMainForm();
}

void TFormMain::ItemMaxClick() {
    Setting.Maximized = !IsMaximized();
    ShowMainForm();
    Init_Max();
}

// Minimising the book from the desktop hides it in the tray, unless a modal dialog is open
// over it (the dialog would be stranded) or there is no tray to come back from.
void TFormMain::OnMinimize() {
    if (QApplication::activeModalWidget() || !Tray->Available())
        return;
    hide();
}

// Hiding is left until the minimise has finished: a minimise that Qt itself starts shows the
// window again right after announcing the new state.
void TFormMain::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized())
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (isMinimized() && isVisible())
                    OnMinimize();
            },
            Qt::QueuedConnection);
}
