// The book window's navigation: keys, clicks, the page menu and the reading underline.
#include "Main.h"

#include "reader/Navigation.h"
#include "window/QtKeys.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QWindow>

void TFormMain::ConnectMenus() {
    connect(Menus->ItemPagePrev, &QAction::triggered, this, &TFormMain::ItemPagePrevClick);
    connect(Menus->ItemPageNext, &QAction::triggered, this, &TFormMain::ItemPageNextClick);
    connect(Menus->ItemPageFirst, &QAction::triggered, this, &TFormMain::ItemPageFirstClick);
    connect(Menus->ItemPageLast, &QAction::triggered, this, &TFormMain::ItemPageLastClick);
    connect(Menus->MenuPageMove, &QMenu::aboutToShow, this, &TFormMain::MenuPageMovePopup);
    connect(Menus->MenuMain, &QMenu::aboutToShow, this, &TFormMain::MenuMainPopup);
    for (QAction* item : {Menus->ItemBIG5, Menus->ItemGB, Menus->ItemHtml, Menus->ItemChap,
                          Menus->ItemHangD, Menus->ItemUnderLine})
        connect(item, &QAction::triggered, this, [this, item] { ItemBIG5Click(item); });
    connect(Menus->ItemRefresh, &QAction::triggered, this, &TFormMain::ItemRefreshClick);
    for (QAction* item : Menus->CodeItems())
        connect(item, &QAction::triggered, this, [this, item] { ItemCodeClick(item); });
    connect(Menus->MenuPageMove, &QMenu::aboutToShow, this, &TFormMain::MenuChapterPopup);
    connect(Menus->ItemFilePrev, &QAction::triggered, this, &TFormMain::ItemFilePrevClick);
    connect(Menus->ItemFileNext, &QAction::triggered, this, &TFormMain::ItemFileNextClick);
}

void TFormMain::RunItem(QAction* item) {
    if (item->isEnabled())
        item->trigger();
}

void TFormMain::ImagePagePrevClick() {
    if (!EditMode)
        ChangeYe(Book.CurrentPage() - 2);
}

void TFormMain::ImagePageNextClick() {
    if (!EditMode)
        ChangeYe(Book.CurrentPage() + 2);
}

void TFormMain::ItemPagePrevClick() {
    ImagePagePrevClick();
}

void TFormMain::ItemPageNextClick() {
    ImagePageNextClick();
}

void TFormMain::ItemPageFirstClick() {
    if (!EditMode)
        ChangeYe(1);
}

void TFormMain::ItemPageLastClick() {
    if (!EditMode)
        ChangeYe(Book.PageCount());
}

void TFormMain::MenuPageMovePopup() {
    const PageMenuState state =
        PageMenuStateFor(Book.CurrentPage(), Book.PageCount(), List->CurrentIndex, List->Count());
    Menus->ItemPagePrev->setEnabled(state.PagePrev);
    Menus->ItemPageFirst->setEnabled(state.PageFirst);
    Menus->ItemPageNext->setEnabled(state.PageNext);
    Menus->ItemPageLast->setEnabled(state.PageLast);
    Menus->ItemFilePrev->setEnabled(state.FilePrev);
    Menus->ItemFileNext->setEnabled(state.FileNext);
}

void TFormMain::FormKeyDown(int virtualKey) {
    switch (KeyMapAction(virtualKey)) {
    case KeyAction::PreviousPage:
        ChangeYe(Book.PreviousPage());
        break;
    case KeyAction::StripNext:
        ImagePageNextClick();
        break;
    case KeyAction::StripPrev:
        ImagePagePrevClick();
        break;
    case KeyAction::ItemPageLast:
        RunItem(Menus->ItemPageLast);
        break;
    case KeyAction::ItemPageFirst:
        RunItem(Menus->ItemPageFirst);
        break;
    case KeyAction::Up:
        Setting.ShowUnderline ? MoveUnderLine(-1) : RunItem(Menus->ItemPagePrev);
        break;
    case KeyAction::Down:
        Setting.ShowUnderline ? MoveUnderLine(+1) : RunItem(Menus->ItemPageNext);
        break;
    case KeyAction::ItemFilePrev:
        RunItem(Menus->ItemFilePrev);
        break;
    case KeyAction::ItemFileNext:
        RunItem(Menus->ItemFileNext);
        break;
    case KeyAction::Open:
        RunItem(Menus->ItemOpen);
        break;
    case KeyAction::None:
        break;
    }
}

void TFormMain::keyPressEvent(QKeyEvent* event) {
    if (EditMode)
        return QWidget::keyPressEvent(event);
    if (Menus->DispatchShortcut(QKeySequence(event->keyCombination())))
        return;
    if (const int step = ChapterStepOf(*event))
        return RunItem(step < 0 ? Menus->ItemChapterPrev : Menus->ItemChapterNext);
    if (const int key = VirtualKeyOf(*event))
        FormKeyDown(key);
    else
        QWidget::keyPressEvent(event);
}

// The underline moves only while the pages are read, not edited.
void TFormMain::MoveUnderLine(int delta) {
    if (EditMode)
        return;
    RestoreLastPagePending = false;
    Book.MoveUnderline(delta, Setting.AutoPageTurn, Setting.ShowUnderline);
    ShowBook();
}

BookPart TFormMain::PartAt(const QPoint& pos) const {
    bool onPageNumber = false;
    for (const PageNumberLabels* group : {&LabelYe1Group, &LabelYe2Group})
        for (const BookLabel* label : {&group->Be, &group->Ye, &group->Af})
            onPageNumber = onPageNumber || (label->Visible && label->Rect.contains(pos));
    return Geometry.PartAt(pos, onPageNumber);
}

void TFormMain::mousePressEvent(QMouseEvent* event) {
    const BookPart part = PartAt(event->position().toPoint());
    const bool left = event->button() == Qt::LeftButton;
    DragNow =
        DragStateAtPress(part, left, {Setting.MoveBook, Setting.DragPageMovesBook, IsMaximized()});
    if (part == BookPart::ImageMove) {
        if (left && Setting.MoveBook && !IsMaximized())
            Moves->StartMove(*this);
    } else if (part == BookPart::ImageResize) {
        if (left && Setting.ResizeBook && !EditMode && !IsMaximized())
            Moves->StartResize(*this, Qt::BottomEdge | Qt::RightEdge);
    }
}

void TFormMain::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() == Qt::NoButton) {
        setCursor(BookPartCursor(PartAt(event->position().toPoint())));
        return;
    }
    if (DragNow != DragState::Armed || !(event->buttons() & Qt::LeftButton))
        return;
    DragNow = DragState::Moving;
    Moves->StartMove(*this);
}

void TFormMain::mouseReleaseEvent(QMouseEvent* event) {
    const DragState drag = DragNow;
    DragNow = DragState::Idle;
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    switch (const BookPart part = PartAt(pos)) {
    case BookPart::ImageMinSize:
        ImageMinSizeClick();
        break;
    case BookPart::ImagePageNext:
        ImagePageNextClick();
        break;
    case BookPart::ImagePagePrev:
        ImagePagePrevClick();
        break;
    default:
        if (IsPagePart(part) && ReleaseTurnsPage(drag, Setting.ClickPageTurns))
            TurnByClick(part, pos);
        break;
    }
}

// Clicks on the pages act through the page menu's items, so they respect their enabled state.
void TFormMain::TurnByClick(BookPart part, const QPoint& pos) {
    const PageTurn turn = Geometry.ClickTurn(part, pos);
    if (turn != PageTurn::None)
        RunItem(turn == PageTurn::Previous ? Menus->ItemPagePrev : Menus->ItemPageNext);
}

void TFormMain::contextMenuEvent(QContextMenuEvent* event) {
    if (EditMode)
        return;
    const BookPart part = PartAt(event->pos());
    const bool strip = part == BookPart::ImagePagePrev || part == BookPart::ImagePageNext;
    QMenu* menu = strip ? Menus->MenuPageMove : Menus->MenuMain;
    menu->popup(event->globalPos());
}

bool TFormMain::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString hint = BookPartHint(PartAt(help->pos()));
        if (hint.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), hint, this);
        return true;
    }
    return QWidget::event(event);
}
