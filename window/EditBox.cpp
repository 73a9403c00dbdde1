#include "EditBox.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

const QString EditBox::SaveCaption = QStringLiteral("保存修改\tCtrl+Enter");
const QString EditBox::ExitCaption = QStringLiteral("退出编辑\tEsc");

EditBox::EditBox(QWidget* parent) : QPlainTextEdit(parent) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    hide();
}

void EditBox::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & Qt::ControlModifier)) {
        emit SaveRequested();
        return;
    }
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        emit ExitRequested();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void EditBox::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu(event->pos());
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    connect(menu->addAction(SaveCaption), &QAction::triggered, this, &EditBox::SaveRequested);
    connect(menu->addAction(ExitCaption), &QAction::triggered, this, &EditBox::ExitRequested);
    menu->popup(event->globalPos());
}
