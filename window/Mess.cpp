#include "Mess.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>

namespace {

// 15316913 as a stored colour value 0x00BBGGRR.
const QColor PanelColour(177, 183, 233);
constexpr int CaptionHeight = 18;
const QRect BarRect(7, 21, 111, 11);

// Drawn by a style sheet so that the bar looks the same under every platform style.
const char* const BarStyle = R"(
QProgressBar { border: 1px solid #7479a8; background: #f6f7fd; }
QProgressBar::chunk {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1,
                                stop:0 #8f9cf0, stop:0.5 #5a6bd6, stop:1 #3e4fb8);
}
)";

} // namespace

TFormMess::TFormMess(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus),
      PanelMsgShow(new QLabel(this)), CompPer(new QProgressBar(this)) {
    // Keys keep going to the book while the box is up.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(ClientWidth, ClientHeight);

    // Inside the panel's one-pixel bevel, as a caption panel aligned to the top would sit.
    PanelMsgShow->setGeometry(1, 1, ClientWidth - 2, CaptionHeight);
    PanelMsgShow->setAlignment(Qt::AlignCenter);
    QFont captionFont = PanelMsgShow->font();
    captionFont.setPixelSize(12);
    PanelMsgShow->setFont(captionFont);
    QPalette palette = PanelMsgShow->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    PanelMsgShow->setPalette(palette);

    CompPer->setGeometry(BarRect);
    CompPer->setTextVisible(false);
    CompPer->setStyleSheet(BarStyle);
}

void TFormMess::SetMainForm(QWidget* mainForm, std::function<void()> showMainForm) {
    MainForm = mainForm;
    ShowMainForm = std::move(showMainForm);
}

void TFormMess::InitShowMess(int min, int max, const std::string& text) {
    CompPer->setRange(min, qMax(min, max));
    CompPer->setValue(min);
    PanelMsgShow->setText(QString::fromStdString(text));
    ShowCentred();
}

void TFormMess::ShowMessPos(int position) {
    // A bar given a position outside its range stays full or empty rather than keeping its
    // old position.
    CompPer->setValue(qBound(CompPer->minimum(), position, CompPer->maximum()));
    if (!isVisible())
        ShowCentred();
    repaint();
}

void TFormMess::CloseShowMess() {
    hide();
    if (MainForm && MainForm->isVisible() && ShowMainForm)
        ShowMainForm();
}

void TFormMess::ShowCentred() {
    move(CentredPosition());
    show();
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
