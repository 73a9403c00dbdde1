// The book window's automatic reading, the clock on the book and the alarms.
#include "Main.h"

#include "reader/AutoRead.h"
#include "records/AlarmSchedule.h"
#include "records/ShellIntegration.h"
#include "text/GbkText.h"
#include "window/DesktopNotice.h"
#include "window/FreeSpot.h"
#include "window/PageText.h"
#include "window/QtKeys.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QTimer>

namespace {

constexpr int AlarmCheckMs = 1000;
// Reading steps are polled at least this often, so a dialog or a hidden book pauses at once.
constexpr int LongestTickMs = 200;
constexpr int ShortestTickMs = 10;
const QString ClockFormat = QStringLiteral("HH:mm");

// +1 for the keys that make reading faster, -1 for slower, 0 for any other key.
int SpeedKeyDirection(const QKeyEvent& key) {
    const bool ctrl = key.modifiers() & Qt::ControlModifier;
    if (ctrl && key.key() == Qt::Key_Up)
        return +1;
    if (ctrl && key.key() == Qt::Key_Down)
        return -1;
    const int code = VirtualKeyOf(key);
    if (code == vk::OemPlus || key.key() == Qt::Key_Plus)
        return +1;
    if (code == vk::OemMinus || key.key() == Qt::Key_Minus)
        return -1;
    return 0;
}

bool IsStartStopKey(const QKeyEvent& key) {
    const auto chords = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    return key.key() == Qt::Key_A && !(key.modifiers() & chords);
}

bool IsModifierKey(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr || key == Qt::Key_CapsLock;
}

// Local wall-clock time as seconds since 1970-01-01 00:00 local time.
std::int64_t LocalSeconds() {
    const QDateTime now = QDateTime::currentDateTime();
    return now.toSecsSinceEpoch() + now.offsetFromUtc();
}

} // namespace

// What the window keeps for these features; a child object, so the window frees it.
class AutoReadParts : public QObject {
public:
    explicit AutoReadParts(TFormMain* book)
        : QObject(book), Book(book), Reader([this] { return Monotonic.elapsed(); }) {
        Monotonic.start();
        Tick.setSingleShot(true);
        Minute.setSingleShot(true);
    }
    bool eventFilter(QObject*, QEvent* event) override { return Book->AutoReadEvent(event); }

    TFormMain* Book;
    QElapsedTimer Monotonic;
    AutoReader Reader;
    AlarmSchedule Alarms;
    QTimer Tick;
    QTimer Minute;
    QTimer AlarmCheck;
    QRect ClockShown; // where the clock was drawn last
};

void TFormMain::DisconnectAutoRead() {
    if (AutoParts)
        removeEventFilter(AutoParts);
}

void TFormMain::ConnectAutoRead() {
    AutoParts = new AutoReadParts(this);
    installEventFilter(AutoParts);
    connect(Menus->ItemAutoRead, &QAction::triggered, this, &TFormMain::ItemAutoReadClick);
    connect(&AutoParts->Tick, &QTimer::timeout, this, &TFormMain::AutoReadTick);
    // The clock repaints its own small place once a minute, never the pages.
    QTimer& minute = AutoParts->Minute;
    connect(&minute, &QTimer::timeout, this, [this] {
        if (Setting.ShowClock)
            update(AutoParts->ClockShown.adjusted(-8, 0, 8, 0));
        AutoParts->Minute.start(60000 - QTime::currentTime().msecsSinceStartOfDay() % 60000);
    });
    minute.start(60000 - QTime::currentTime().msecsSinceStartOfDay() % 60000);
    AutoParts->Alarms.Start(LocalSeconds(), AutoParts->Monotonic.elapsed());
    connect(&AutoParts->AlarmCheck, &QTimer::timeout, this, &TFormMain::CheckAlarms);
    AutoParts->AlarmCheck.start(AlarmCheckMs);
    ShowAlarm = [this](const QString& text) {
        auto* box = new QMessageBox(QMessageBox::Information, QString::fromUtf8(ProgramTitle),
                                    text, QMessageBox::Ok, BookShown() ? this : nullptr);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::ApplicationModal);
        box->show();
    };
}

bool TFormMain::AutoReading() const {
    return AutoParts->Reader.Running();
}

void TFormMain::ItemAutoReadClick() {
    if (AutoReading() || EditMode) {
        PauseAutoRead();
        return;
    }
    AutoReader& reader = AutoParts->Reader;
    reader.Mode = Setting.AutoReadPaced ? AutoReadMode::Paced : AutoReadMode::Timed;
    reader.Speed = std::clamp(Setting.ReadingSpeed, MinReadingSpeed, MaxReadingSpeed);
    reader.TurnSeconds = Setting.AutoPageTurnInterval > 0
                             ? std::min(Setting.AutoPageTurnInterval, MaxTurnSeconds)
                             : DefaultTurnSeconds;
    reader.Start(Book.AutoReadView(), Book.Underline());
    Menus->ItemAutoRead->setChecked(true);
    AutoParts->Tick.start(ShortestTickMs);
    update();
}

void TFormMain::PauseAutoRead() {
    AutoParts->Tick.stop();
    AutoParts->Reader.Stop();
    Menus->ItemAutoRead->setChecked(false);
    update();
}

void TFormMain::AutoReadTick() {
    const bool interrupted = EditMode || !isVisible() || isMinimized() ||
                             QApplication::activeModalWidget() || QApplication::activePopupWidget();
    if (interrupted || !AutoReading()) {
        PauseAutoRead();
        return;
    }
    AutoReader& reader = AutoParts->Reader;
    const AutoReadStep step = reader.Poll(Book.AutoReadView(), Book.Underline());
    switch (step.What) {
    case AutoReadStep::MoveLine:
        Book.PutUnderline(step.Place);
        Init_UnderLine();
        break;
    case AutoReadStep::TurnPair:
        ImagePageNextClick();
        break;
    case AutoReadStep::Finished:
        PauseAutoRead();
        return;
    case AutoReadStep::None:
        break;
    }
    const auto wait = std::clamp<std::int64_t>(reader.MsUntilDue(), ShortestTickMs, LongestTickMs);
    AutoParts->Tick.start(static_cast<int>(wait));
}

// Start and stop, the speed keys while reading; any other key or a click pauses and then acts.
bool TFormMain::AutoReadEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (EditMode || IsModifierKey(key.key()))
            return false;
        if (IsStartStopKey(key)) {
            ItemAutoReadClick();
            return true;
        }
        if (!AutoReading())
            return false;
        if (const int direction = SpeedKeyDirection(key)) {
            AutoParts->Reader.ChangeSpeed(direction);
            Setting.ReadingSpeed = AutoParts->Reader.Speed;
            if (AutoParts->Reader.Mode == AutoReadMode::Timed)
                Setting.AutoPageTurnInterval = AutoParts->Reader.TurnSeconds;
            update();
            return true;
        }
        PauseAutoRead();
        return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::ContextMenu:
        if (AutoReading())
            PauseAutoRead();
        return false;
    default:
        return false;
    }
}

void TFormMain::CheckAlarms() {
    const std::vector<int> due =
        AutoParts->Alarms.Check(Setting, LocalSeconds(), AutoParts->Monotonic.elapsed());
    for (int slot : due) {
        const QString text = QString::fromStdString(Setting.AlarmText[slot]);
        if (!BookShown() || isMinimized())
            SendDesktopNotice(QString::fromUtf8(ProgramTitle), text);
        ShowAlarm(text);
    }
}

void TFormMain::PaintAutoRead(QPainter& painter) {
    std::vector<QRect> taken;
    for (const PageNumberLabels* group : {&LabelYe1Group, &LabelYe2Group})
        for (const BookLabel* label : {&group->Be, &group->Ye, &group->Af})
            if (label->Visible && !label->Caption.isEmpty())
                taken.push_back(label->Rect);
    QColor color = FromColorValue(Setting.PageNumberFont.Color);
    auto drawMark = [&](const QString& caption) -> QRect {
        const std::optional<QRect> spot = FreeSpot(LabelSize(caption), Geometry, taken);
        if (!spot)
            return {};
        DrawPageText(painter, *spot, gbk::FromUtf8(caption.toStdString()), NumberQFont, color,
                     NumberLinePitch);
        taken.push_back(*spot);
        return *spot;
    };
    if (Setting.ShowClock)
        AutoParts->ClockShown = drawMark(QTime::currentTime().toString(ClockFormat));
    if (!AutoReading())
        return;
    const AutoReader& reader = AutoParts->Reader;
    const bool paced = reader.Mode == AutoReadMode::Paced;
    // Paced reading always shows where it is, even with the underline switched off.
    if (paced && !UnderlineVisible)
        painter.fillRect(ImageUnderLine, FromColorValue(Setting.UnderlineColor));
    // In the text colour: the page numbers keep a colour of their own.
    color = FromColorValue(Setting.PageFont.Color);
    drawMark(paced ? QStringLiteral("自动 %1字/分").arg(reader.Speed)
                   : QStringLiteral("自动 %1秒/页").arg(reader.TurnSeconds));
}
