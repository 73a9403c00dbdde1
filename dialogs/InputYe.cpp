#include "InputYe.h"

#include "ArrowButton.h"
#include "DialogFont.h"
#include "reader/GoToPage.h"
#include "text/Decimal.h"

#include <QCursor>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>

namespace {

const QColor Yellow(255, 255, 0);

} // namespace

TFormInputYe::TFormInputYe(int currentPage, int pageCount, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), Panel1(new QFrame(this)),
      Label1(new QLabel(QStringLiteral("翻到第"), Panel1)), EditInputYe(new QLineEdit(Panel1)),
      Label2(new QLabel(QStringLiteral("页"), Panel1)), Panel2(new QWidget(Panel1)),
      BtnNextYe(new TArrowButton(true, Panel2)), BtnPrevYe(new TArrowButton(false, Panel2)),
      CurrentPage(currentPage), PageCount(pageCount) {
    setWindowTitle(QStringLiteral("指定页"));
    setFont(DialogFont());
    QPalette yellow = palette();
    yellow.setColor(QPalette::Window, Yellow);
    setPalette(yellow);
    setAutoFillBackground(true);
    Panel1->setGeometry(0, 0, FaceWidth, FaceHeight);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(1);
    Label1->move(6, 10);
    Label2->move(103, 10);
    EditInputYe->setGeometry(46, 5, 53, 20);
    QPalette white = EditInputYe->palette();
    white.setColor(QPalette::Base, Qt::white);
    white.setColor(QPalette::Text, Qt::black);
    EditInputYe->setPalette(white);
    EditInputYe->setFrame(false);
    EditInputYe->setTextMargins(2, 0, 19, 0); // the arrows cover the edit's right end
    Panel2->setGeometry(78, 7, 19, 16);
    Panel2->setAutoFillBackground(true);
    BtnNextYe->setGeometry(0, 0, 19, 8);
    BtnPrevYe->setGeometry(0, 8, 19, 8);
    setFixedSize(FaceWidth, FaceHeight);

    connect(BtnNextYe, &QAbstractButton::clicked, this, [this] { MouseYe(+1); });
    connect(BtnPrevYe, &QAbstractButton::clicked, this, [this] { MouseYe(-1); });
    for (TArrowButton* arrow : {BtnNextYe, BtnPrevYe})
        arrow->RightReleased = [this] {
            Dragging = false;
            DoneText();
        };
    for (QWidget* face : {static_cast<QWidget*>(this), static_cast<QWidget*>(Panel1),
                          static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label2)})
        face->installEventFilter(this);
    EditInputYe->installEventFilter(this);
}

QPoint TFormInputYe::FacePosition(QPoint pointer, const QRect& screen) {
    // The pointer lands at (87, 11) of the face: the middle of the arrows, a quarter down them.
    constexpr int ArrowsLeft = 78, ArrowsTop = 7, ArrowsWidth = 19, ArrowsHeight = 16;
    QPoint at(pointer.x() - (ArrowsWidth / 2 + ArrowsLeft),
              pointer.y() - (ArrowsHeight / 4 + ArrowsTop));
    if (screen.isValid()) {
        at.setX(std::clamp(at.x(), screen.left(),
                           std::max(screen.left(), screen.right() + 1 - FaceWidth)));
        at.setY(std::clamp(at.y(), screen.top(),
                           std::max(screen.top(), screen.bottom() + 1 - FaceHeight)));
    }
    return at;
}

void TFormInputYe::showEvent(QShowEvent* event) {
    const QPoint pointer = QCursor::pos();
    QScreen* screen = QGuiApplication::screenAt(pointer);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    move(FacePosition(pointer, screen ? screen->availableGeometry() : QRect()));
    EditInputYe->setText(QString::number(CurrentPage));
    QDialog::showEvent(event);
    EditInputYe->setFocus();
    EditInputYe->selectAll();
}

void TFormInputYe::MouseYe(int delta) {
    EditInputYe->setText(
        QString::number(StepDecimal(EditInputYe->text().toStdString(), delta, PageCount)));
}

void TFormInputYe::DoneText() {
    if (const std::optional<int> page = ParsePageNumber(EditInputYe->text().toStdString())) {
        ResultPage = *page;
        accept();
    } else {
        reject();
    }
}

bool TFormInputYe::eventFilter(QObject* watched, QEvent* event) {
    if (watched == EditInputYe)
        return EditKey(event);
    return FaceMouse(event);
}

bool TFormInputYe::EditKey(QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        DoneText();
        return true;
    case Qt::Key_Escape:
        reject();
        return true;
    case Qt::Key_Up:
        MouseYe(+1);
        return true;
    case Qt::Key_Down:
        MouseYe(-1);
        return true;
    default:
        return false;
    }
}

bool TFormInputYe::FaceMouse(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease)
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint global = mouse->globalPosition().toPoint();
    if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
        DragStart = global;
        DragFrom = pos();
        Dragging = true;
    } else if (type == QEvent::MouseMove && Dragging) {
        move(DragFrom + (global - DragStart));
    } else if (type == QEvent::MouseButtonRelease) {
        Dragging = false;
        if (mouse->button() == Qt::RightButton)
            reject();
    }
    return type != QEvent::MouseMove || Dragging;
}
