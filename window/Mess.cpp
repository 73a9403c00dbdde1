#include "Mess.h"

#include "PageFont.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QThread>

#include <QWindow>
#include <cmath>

namespace {

// 15316913 as a stored colour value 0x00BBGGRR.
const QColor PanelColour(177, 183, 233);
constexpr int CaptionHeight = 18;
const QRect BarRect(7, 21, 111, 11);

// The bar is drawn here rather than by the platform style or a style sheet: it looks the same
// under every style, and a step, which repaints the box, costs microseconds.
const QColor BarBorder(0x74, 0x79, 0xa8);
const QColor BarGround(0xf6, 0xf7, 0xfd);
const QColor ChunkTop(0x8f, 0x9c, 0xf0);
const QColor ChunkMiddle(0x5a, 0x6b, 0xd6);
const QColor ChunkBottom(0x3e, 0x4f, 0xb8);

class MessBar : public QProgressBar {
public:
    using QProgressBar::QProgressBar;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(BarBorder);
        painter.setBrush(BarGround);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        const QRect inside = rect().adjusted(1, 1, -1, -1);
        const int span = maximum() - minimum();
        if (span <= 0)
            return;
        const int filled =
            static_cast<int>(std::lround(double(value() - minimum()) / span * inside.width()));
        QLinearGradient chunk(inside.topLeft(), inside.bottomLeft());
        chunk.setColorAt(0, ChunkTop);
        chunk.setColorAt(0.5, ChunkMiddle);
        chunk.setColorAt(1, ChunkBottom);
        painter.fillRect(QRect(inside.topLeft(), QSize(filled, inside.height())), chunk);
    }
};

// What the box lets through while the operation it reports on runs: the window system's own
// events (the box being mapped and exposed), but no key or mouse input, which waits in the queue
// until the operation ends, and no timer or socket handler, which could start another command
// in the middle of this one.
constexpr QEventLoop::ProcessEventsFlags StepEvents = QEventLoop::ExcludeUserInputEvents |
                                                      QEventLoop::ExcludeSocketNotifiers |
                                                      QEventLoop::X11ExcludeTimers;
constexpr unsigned long ExposePollMicroseconds = 500;

} // namespace

TFormMess::TFormMess(QWidget* parent, int showAfterMs)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::X11BypassWindowManagerHint | Qt::WindowDoesNotAcceptFocus),
      PanelMsgShow(new QLabel(this)), CompPer(new MessBar(this)), ThresholdMs(showAfterMs) {
    // The window manager is bypassed: the box appears exactly where it is put, at once (no
    // round trip through the manager before it can be drawn), above the book. Keys keep going
    // to the book while the box is up.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(ClientWidth, ClientHeight);

    // Inside the panel's one-pixel bevel, as a caption panel aligned to the top would sit.
    PanelMsgShow->setGeometry(1, 1, ClientWidth - 2, CaptionHeight);
    PanelMsgShow->setAlignment(Qt::AlignCenter);
    // The Song face the pages use (宋体, the system face of the Chinese desktop), which is
    // already loaded for the book, rather than a user-interface face that lacks Chinese and
    // would load a fallback font just for the caption.
    QFont captionFont = ToQFont(FontSpec{});
    captionFont.setPixelSize(12);
    PanelMsgShow->setFont(captionFont);
    QPalette palette = PanelMsgShow->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    PanelMsgShow->setPalette(palette);

    CompPer->setGeometry(BarRect);
    CompPer->setTextVisible(false);
}

void TFormMess::SetMainForm(QWidget* mainForm, std::function<void()> showMainForm) {
    MainForm = mainForm;
    ShowMainForm = std::move(showMainForm);
}

void TFormMess::InitShowMess(int min, int max, const std::string& text) {
    CompPer->setRange(min, qMax(min, max));
    CompPer->setValue(min);
    PanelMsgShow->setText(QString::fromStdString(text));
    Started.start();
    if (ThresholdMs <= 0)
        ShowCentred();
}

void TFormMess::ShowMessPos(int position) {
    // A bar given a position outside its range stays full or empty rather than keeping its
    // old position.
    CompPer->setValue(qBound(CompPer->minimum(), position, CompPer->maximum()));
    const int done = position - CompPer->minimum() - 1;
    const int total = CompPer->maximum() - CompPer->minimum();
    if (!isVisible() && ThresholdMs > 0 &&
        !WorthShowing(done, total, double(Started.elapsed()), ThresholdMs))
        return;
    if (!isVisible())
        ShowCentred();
    else if (windowHandle() && windowHandle()->isExposed())
        CompPer->repaint(); // only the bar changed
    else
        PaintNow();
}

void TFormMess::CloseShowMess() {
    if (!isVisible())
        return; // never shown: the book was not covered
    hide();
    if (MainForm && MainForm->isVisible() && ShowMainForm)
        ShowMainForm();
}

// A window the window system has not exposed yet is not drawn at all: a repaint then draws
// nothing, and the screen goes on showing the book beneath the box. So a showing lets the window
// system's events in until the box is exposed (waiting a bounded time, once per showing, so that
// a window system that never exposes it cannot stall every step), and then draws it at once.
void TFormMess::PaintNow() {
    QCoreApplication::processEvents(StepEvents);
    if (!ExposeWaited) {
        ExposeWaited = true;
        const QDeadlineTimer deadline(ExposeWaitMs);
        while (windowHandle() && !windowHandle()->isExposed() && !deadline.hasExpired()) {
            QThread::usleep(ExposePollMicroseconds);
            QCoreApplication::processEvents(StepEvents);
        }
    }
    repaint();
}

void TFormMess::ShowCentred() {
    move(CentredPosition());
    show();
    ExposeWaited = false;
    PaintNow();
}

// Integer division truncates toward zero, as the placement rule asks, also for a book
// narrower than the box.
QPoint TFormMess::CentredPosition() const {
    QRect over;
    if (MainForm)
        over = MainForm->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        over = screen->availableGeometry();
    return {over.left() + (over.width() - ClientWidth) / 2,
            over.top() + (over.height() - ClientHeight) / 2};
}

void TFormMess::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), PanelColour);
    // The lowered bevel: shadow along the top and left, light along the bottom and right.
    const QRect r = rect().adjusted(0, 0, -1, -1);
    painter.setPen(PanelColour.darker(160));
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(PanelColour.lighter(125));
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
}
