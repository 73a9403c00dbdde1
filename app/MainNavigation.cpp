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
    connect(Menus->ItemQuit, &QAction::triggered, this, &QWidget::close);
    connect(Menus->MenuMain, &QMenu::aboutToShow, this, &TFormMain::MenuMainPopup);
    for (QAction* item : {Menus->ItemBIG5, Menus->ItemGB, Menus->ItemHtml, Menus->ItemChap,
                          Menus->ItemHangD, Menus->ItemUnderLine})
        connect(item, &QAction::triggered, this, [this, item] { ItemBIG5Click(item); });
    connect(Menus->ItemRefresh, &QAction::triggered, this, &TFormMain::ItemRefreshClick);
    connect(Menus->ItemFilePrev, &QAction::triggered, this, &TFormMain::ItemFilePrevClick);
    connect(Menus->ItemFileNext, &QAction::triggered, this, &TFormMain::ItemFileNextClick);
}

void TFormMain::RunItem(QAction* item) {
    if (item->isEnabled())
        item->trigger();
}

void TFormMain::ImagePagePrevClick() {
    if (!EditMode)
        ChangeYe(Store.CurrentPage - 2);
}

void TFormMain::ImagePageNextClick() {
    if (!EditMode)
        ChangeYe(Store.CurrentPage + 2);
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
        ChangeYe(Store.PageCount);
}

void TFormMain::MenuPageMovePopup() {
    const PageMenuState state =
        PageMenuStateFor(Store.CurrentPage, Store.PageCount, List->CurrentIndex, List->Count());
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
        ChangeYe(Store.PreviousPage);
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
    case KeyAction::Open: // the open dialog is not part of the book yet
    case KeyAction::None:
        break;
    }
}

void TFormMain::keyPressEvent(QKeyEvent* event) {
    if (Menus->DispatchShortcut(QKeySequence(event->keyCombination())))
        return;
    if (EditMode)
        return QWidget::keyPressEvent(event);
    if (const int key = VirtualKeyOf(*event))
        FormKeyDown(key);
    else
        QWidget::keyPressEvent(event);
}

void TFormMain::PutUnderline(bool rightPage, int line) {
    ImageUnderLine.moveLeft(rightPage ? Geometry.Page2Left : Geometry.Page1Left);
    UnderlineLine = line;
}

void TFormMain::MoveUnderLine(int delta) {
    const UnderlineContext book{Store.CurrentPage, Store.PageCount, Store.LinesPerPage,
                                Setting.AutoPageTurn, Setting.ShowUnderline};
    const UnderlineStep step =
        ::MoveUnderLine({UnderlineOnRightPage(), UnderlineLine}, delta, book);
    if (step.Turn == PageTurn::Previous)
        ImagePagePrevClick();
    else if (step.Turn == PageTurn::Next)
        ImagePageNextClick();
    PutUnderline(step.Place.RightPage, step.Place.Line);
    Init_UnderLine();
}

TFormMain::Part TFormMain::PartAt(const QPoint& pos) const {
    if (Geometry.ImageMinSize.contains(pos))
        return Part::ImageMinSize;
    if (Geometry.ImageResize.contains(pos))
        return Part::ImageResize;
    if (Geometry.ImageMove.contains(pos))
        return Part::ImageMove;
    if (Geometry.ImagePageNext.contains(pos))
        return Part::ImagePageNext;
    if (Geometry.ImagePagePrev.contains(pos))
        return Part::ImagePagePrev;
    for (const PageNumberLabels* group : {&LabelYe1Group, &LabelYe2Group})
        for (const BookLabel* label : {&group->Be, &group->Ye, &group->Af})
            if (label->Visible && label->Rect.contains(pos))
                return Part::LabelYe;
    if (Geometry.LabelPage2.contains(pos))
        return Part::LabelPage2;
    if (Geometry.LabelPage1.contains(pos))
        return Part::LabelPage1;
    return Part::ImageBook;
}

void TFormMain::mousePressEvent(QMouseEvent* event) {
    const Part part = PartAt(event->position().toPoint());
    const bool left = event->button() == Qt::LeftButton;
    if (part == Part::ImageMove) {
        if (left && Setting.MoveBook && !IsMaximized())
            Moves->StartMove(*this);
        return;
    }
    if (part == Part::ImageResize) {
        if (left && Setting.ResizeBook && !EditMode && !IsMaximized())
            Moves->StartResize(*this, Qt::BottomEdge | Qt::RightEdge);
        return;
    }
    if (part == Part::ImageBook || part == Part::LabelPage1 || part == Part::LabelPage2)
        DragState =
            (left && Setting.MoveBook && Setting.DragPageMovesBook && !IsMaximized()) ? 1 : 0;
}

void TFormMain::mouseMoveEvent(QMouseEvent*) {
    if (DragState != 1)
        return;
    DragState = 2;
    Moves->StartMove(*this);
}

void TFormMain::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    switch (const Part part = PartAt(pos)) {
    case Part::ImageMinSize:
        ImageMinSizeClick();
        break;
    case Part::ImagePageNext:
        ImagePageNextClick();
        break;
    case Part::ImagePagePrev:
        ImagePagePrevClick();
        break;
    case Part::ImageBook:
    case Part::LabelPage1:
    case Part::LabelPage2:
        TurnByClick(part, pos);
        break;
    default:
        break;
    }
}

// A release that ends a window drag turns nothing; otherwise the left page and the left half
// of the book turn back, the right ones forward.
void TFormMain::TurnByClick(Part part, const QPoint& pos) {
    if (!Setting.ClickPageTurns || DragState == 2)
        return;
    DragState = 0;
    bool back = part == Part::LabelPage1;
    if (part == Part::ImageBook)
        back = pos.x() < Geometry.ImageBook.width() / 2;
    RunItem(back ? Menus->ItemPagePrev : Menus->ItemPageNext);
}

void TFormMain::contextMenuEvent(QContextMenuEvent* event) {
    const Part part = PartAt(event->pos());
    QMenu* menu = (part == Part::ImagePagePrev || part == Part::ImagePageNext) ? Menus->MenuPageMove
                                                                               : Menus->MenuMain;
    menu->popup(event->globalPos());
}

QString TFormMain::HintAt(const QPoint& pos) const {
    switch (PartAt(pos)) {
    case Part::ImageMinSize:
        return QStringLiteral("最小化");
    case Part::ImageResize:
        return QStringLiteral("改变书本大小");
    case Part::ImageMove:
        return QStringLiteral("移动书本");
    case Part::ImagePageNext:
        return QStringLiteral("下一页");
    case Part::ImagePagePrev:
        return QStringLiteral("上一页");
    default:
        return {};
    }
}

bool TFormMain::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString hint = HintAt(help->pos());
        if (hint.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), hint, this);
        return true;
    }
    return QWidget::event(event);
}
