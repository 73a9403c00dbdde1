#include "Main.h"

#include "reader/Navigation.h"
#include "reader/PageNumbers.h"
#include "reader/PagePainter.h"
#include "records/CommandLine.h"
#include "records/Global.h"
#include "records/SettingsStore.h"
#include "records/ShellIntegration.h"
#include "records/TempDir.h"
#include "text/GbkText.h"
#include "window/BookPicture.h"
#include "window/BookSkin.h"
#include "window/Mess.h"
#include "window/PageText.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>

static void InitResources() {
    Q_INIT_RESOURCE(resources);
}

namespace {

// The switches of the text passes as the settings hold them, and back.
TextOptions TextOptionsOf(const Settings& s) {
    return {s.ConvertBig5, s.ConvertGb, s.AutoConvert, s.ProcessHtml, s.SmartParagraphs};
}

} // namespace

void TFormMain::SetTextOptions(const TextOptions& o) {
    Setting.ConvertBig5 = o.ConvertBig5;
    Setting.ConvertGb = o.ConvertGb;
    Setting.AutoConvert = o.AutoConvert;
    Setting.ProcessHtml = o.ProcessHtml;
    Setting.SmartParagraphs = o.SmartParagraphs;
}

TFormMain::TFormMain(Registry& registry, ProgressWindow& progress,
                     std::vector<std::string> documents, QWidget* parent)
    : TFormMain(registry, progress, std::move(documents), StartLater{}) {
    if (parent)
        setParent(parent, windowFlags());
    Init();
}

TFormMain::TFormMain(Registry& registry, ProgressWindow& progress,
                     std::vector<std::string> documents, StartLater)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), Book(progress), Reg(registry),
      Progress(progress), Documents(std::move(documents)) {
    InitResources();
    setWindowTitle(QString::fromUtf8(ProgramTitle));
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Moves without a button pressed set the cursor of the hot area under the mouse.
    setMouseTracking(true);
    ImageBookPic = BookSkin();
    List = std::make_unique<RecentList>(Reg, Setting);
    setAcceptDrops(true);
    Menus = new MainMenu(this);
    ConnectMenus();
    ConnectEditMenus();
    ConnectWindowState();
    ConnectFileCommands();
    ConnectMarks();
    ConnectChapters();
    ConnectAutoRead();
}

// QWidget's destructor still sends the window events after this body has run, when the
// window's own members are gone: the auto-reading filter must not see them.
TFormMain::~TFormMain() {
    DisconnectAutoRead();
}

std::string TFormMain::MemoReadme() {
    QFile file(QStringLiteral(":/readme.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray utf8 = file.readAll();
    utf8.replace("\r\n", "\n");
    if (utf8.endsWith('\n'))
        utf8.chop(1);
    utf8.replace("\n", "\r\n");
    return gbk::FromUtf8(std::string_view(utf8.constData(), utf8.size())) + "\r\n";
}

void TFormMain::Init() {
    Init_Var();
    Init_Setup();
    LayoutGuard = true;
    Init_Max();
    LayoutGuard = false;
    Init_Window();
    List->LibraryOpened = List->FileOpened = false;
    List->AddedCount = 0;
    RestoreLastPagePending = false;
    OpenCommandLine();
    WatchStore();
}

void TFormMain::OpenCommandLine() {
    const std::vector<std::string> names = CommandLineNames(Documents, StartDir);
    if (!names.empty()) {
        if (!OpenBatch(names))
            ShowHelpText();
        return;
    }
    const ReopenPlan reopen = List->PlanStartupReopen();
    Setting.LastFileIndex = reopen.LastFileIndex;
    // The stored text position is found at any size. The book opens at it, so that only the
    // pages up to it are wrapped before it shows.
    const std::optional<TextPosition> place = ParseTextPosition(Setting.LastFilePlace);
    PlaceToOpen = place.value_or(TextPosition{});
    const bool reopened = Reopen(reopen);
    PlaceToOpen = {};
    if (reopened) {
        // An older store has only the page: the first resize after start-up shows it again at
        // the final size, unless the reader has moved on by then (every move clears the flag).
        if (!place || !Book.Holds(*place)) {
            ChangeYe(reopen.Page);
            RestoreLastPagePending = true;
        }
    } else {
        ShowHelpText();
    }
}

void TFormMain::ShowHelpText() {
    List->CurrentIndex = -1;
    Book.OpenHelpText(MemoReadme(), Options());
    SetTextOptions(Book.Options());
    Init_Page();
    ShowBook();
}

TextOptions TFormMain::Options() const {
    return TextOptionsOf(Setting);
}

void TFormMain::Tell(const UserMessage& message) {
    Show(message);
}

void TFormMain::Init_Var() {
    StartDir = CurrentDir();
    TempDir = TempDirPath();
    DragNow = DragState::Idle;
    EditMode = false;
    List->CurrentIndex = -1;
    LoadSettings(Reg, Setting);
    List->Changed = [this] { RebuildRecentMenu(); };
    List->Tell = [this](const UserMessage& message) { Tell(message); };
    List->Load();
}

void TFormMain::FormClose() {
    if (Closed)
        return;
    Closed = true;
    Tray->Icon()->hide();
    const WindowBounds current{x(), y(), width(), height()};
    const WindowBounds normal{NormalBounds.x(), NormalBounds.y(), NormalBounds.width(),
                              NormalBounds.height()};
    SaveAtClose(current, normal);
    if (Widths)
        Widths->Keep();
    BoundsGuard = true;
    hide();
    setWindowState(windowState() & ~Qt::WindowMaximized);
    // The folder being removed must never be the current one.
    ChangeDir(StartDir);
    DeleteDir(TempDir);
}

void TFormMain::closeEvent(QCloseEvent* event) {
    if (!MayCloseWhileEditing(event->spontaneous())) {
        event->ignore();
        return;
    }
    FormClose();
    QWidget::closeEvent(event);
    emit FormClosed();
}

void TFormMain::ApplyFonts() {
    PageQFont = ToQFont(Setting.PageFont);
    NumberQFont = ToQFont(Setting.PageNumberFont);
    const double dpi = ScreenDotsPerInch();
    PageLinePitch = LinePitch(Setting.PageFont, dpi);
    NumberLinePitch = LinePitch(Setting.PageNumberFont, dpi);
    // The widths stay while the font does: the reading pipeline takes another cache for
    // another font, and wraps the text again.
    if (Widths && WidthsFont == Setting.PageFont)
        return;
    if (Widths)
        Widths->Keep();
    Widths = std::make_unique<PageWidths>(PageQFont);
    WidthsFont = Setting.PageFont;
}

void TFormMain::LoadBackground() {
    if (Setting.BackgroundImageFile.empty())
        Setting.UseBackgroundImage = false;
    if (Setting.UseBackgroundImage) {
        const QString file = QString::fromStdString(Setting.BackgroundImageFile);
        if (std::optional<QImage> picture = LoadBookPicture(file)) {
            ImageBook = *picture;
        } else {
            ShowWarning(BookPictureWarning(file).toStdString());
            Setting.UseBackgroundImage = false;
        }
    }
    if (!Setting.UseBackgroundImage)
        ImageBook = ImageBookPic;
    repaint();
    if (Setting.BookmarkImageFile.empty())
        Setting.UseBookmarkImage = false;
}

void TFormMain::Init_Setup() {
    const QRect reachable = KeepOnScreen(
        {Setting.BookLeft, Setting.BookTop, Setting.BookWidth, Setting.BookHeight}, ScreenAreas());
    Setting.BookLeft = reachable.x();
    Setting.BookTop = reachable.y();
    BoundsGuard = true;
    setGeometry(Setting.BookLeft, Setting.BookTop, Setting.BookWidth, Setting.BookHeight);
    BoundsGuard = false;
    UnderlineVisible = Setting.ShowUnderline;
    LabelYe1Group.Be.Caption = QString::fromStdString(Setting.PageNumberPrefix[0]);
    LabelYe1Group.Af.Caption = QString::fromStdString(Setting.PageNumberSuffix[0]);
    LabelYe2Group.Be.Caption = QString::fromStdString(Setting.PageNumberPrefix[1]);
    LabelYe2Group.Af.Caption = QString::fromStdString(Setting.PageNumberSuffix[1]);
    for (BookLabel* label : {&LabelYe1Group.Be, &LabelYe1Group.Ye, &LabelYe1Group.Af})
        label->Visible = Setting.ShowPageNumbers;
    ApplyFonts();
    // The head is a line of the page-number font; the book makes room for it itself.
    Book.SetRunningHead(Setting.ShowRunningHead, NumberLinePitch);
    const SetupWork work = WorkFor(Changes);
    if (work.LoadPicture)
        LoadBackground();
    if (work.ApplyMaximized)
        Init_Max();
    if (work.LayOut)
        Init_Window();
    if (work.Reprocess)
        Book.SetOptions(Options());
    if (work.Repaginate)
        Init_Page();
    ShowBook();
    Changes.Clear();
}

void TFormMain::Init_Max() {
    if (Setting.Maximized) {
        // Only the normal state's bounds are worth restoring to; a maximised window's bounds
        // are the screen's.
        if (!IsMaximized())
            NormalBounds = geometry();
        if (!isVisible())
            MaximizeBeforeShowing();
        setWindowState(windowState() | Qt::WindowMaximized);
    } else if (IsMaximized()) {
        setWindowState(windowState() & ~Qt::WindowMaximized);
        // A book maximised before it was first shown was never shown at its normal bounds, so
        // the window manager cannot know them: they are put back here.
        if (NormalBounds.isValid())
            setGeometry(KeepOnScreen(NormalBounds, ScreenAreas()));
    }
}

// A hidden window changes its size only when it is shown, so the book would be paginated at its
// normal size first and again when it shows maximised. It takes the size it is going to have,
// the screen's available area, before anything is paginated; the book is then paginated once.
void TFormMain::MaximizeBeforeShowing() {
    const QScreen* screen = QGuiApplication::screenAt(NormalBounds.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    Setting.BookLeft = area.left();
    Setting.BookTop = area.top();
    Setting.BookWidth = area.width();
    Setting.BookHeight = area.height();
}

void TFormMain::Init_Window() {
    Geometry = BookGeometry::For(Setting.BookWidth, Setting.BookHeight);
    BoundsGuard = true;
    setGeometry(Setting.BookLeft, Setting.BookTop, Setting.BookWidth, Setting.BookHeight);
    BoundsGuard = false;
    repaint();
}

void TFormMain::Init_Page() {
    PageFormat format;
    format.WrapWidth = Geometry.WrapWidth();
    format.PageHeight = Geometry.PageHeight;
    format.TestHeight = 4 * PageLinePitch;
    format.DoubleSpacing = Setting.DoubleSpacing;
    format.Punctuation = static_cast<PunctuationRule>(Setting.Punctuation);
    Book.SetPageFormat(format, Widths->Cache());
    PaginatedSize = QSize(Setting.BookWidth, Setting.BookHeight);
}

void TFormMain::ChangeYe(int n) {
    RestoreLastPagePending = false;
    Book.GoToPage(n);
    ShowBook();
}

void TFormMain::ShowBook() {
    RecordChapter();
    Init_Ye();
    Init_UnderLine();
    UpdateBookmarkMenu();
    if (EditMode)
        FillEditBoxes();
    update();
}

QSize TFormMain::LabelSize(const QString& caption) const {
    const QFontMetricsF metrics(NumberQFont);
    return QSize(static_cast<int>(std::ceil(metrics.horizontalAdvance(caption))), NumberLinePitch);
}

void TFormMain::PlaceNumberGroup(PageNumberLabels& group, int x, int y) {
    for (BookLabel* label : {&group.Be, &group.Ye, &group.Af}) {
        label->Rect = QRect(QPoint(x, y), LabelSize(label->Caption));
        x = label->Rect.left() + label->Rect.width();
    }
}

// The page count is asked for only when a caption shows it: counting a long book's pages waits
// until its pair has been drawn (CountPagesLater).
void TFormMain::Init_Ye() {
    const BookSnapshot& shown = Book.Snapshot();
    const int page = shown.LeftPage;
    const bool total = Setting.PageNumberShowTotal[0] || Setting.PageNumberShowTotal[1];
    const int count = total ? Book.PageCount() : shown.PageCount;
    LabelYe1Group.Ye.Caption =
        QString::fromStdString(PageNumberCaption(page, count, Setting.PageNumberShowTotal[0]));
    LabelYe2Group.Ye.Caption =
        QString::fromStdString(PageNumberCaption(page + 1, count, Setting.PageNumberShowTotal[1]));
    const QSize size1 = LabelSize(LabelYe1Group.Whole());
    const int width2 = LabelSize(LabelYe2Group.Whole()).width();
    const PageNumberBook book{Setting.BookWidth,
                              Setting.BookHeight,
                              Geometry.ScaleX,
                              Setting.PageNumberPosition,
                              Setting.ShowPageNumbers,
                              shown.RightPage};
    const PageNumberPlacement at = PlacePageNumbers(book, size1.width(), width2, size1.height());
    PlaceNumberGroup(LabelYe1Group, at.LeftX, at.LeftY);
    PlaceNumberGroup(LabelYe2Group, at.RightX, at.RightY);
    for (BookLabel* label : {&LabelYe2Group.Be, &LabelYe2Group.Ye, &LabelYe2Group.Af})
        label->Visible = at.RightVisible;
    update();
}

void TFormMain::Init_UnderLine() {
    const UnderlinePlace& at = Book.Underline();
    const int textTop = Geometry.PageTop + Book.Snapshot().HeadRoom;
    const int top =
        UnderlineTop(textTop, Setting.UnderlineOffset, PageLinePitch, at.Line, Setting.DoubleSpacing);
    const int left = at.RightPage ? Geometry.Page2Left : Geometry.Page1Left;
    ImageUnderLine = QRect(left, top, Geometry.PageWidth, std::max(1, Setting.UnderlineWidth));
    update();
}

void TFormMain::FormResize(const QSize& size) {
    if (BoundsGuard)
        return;
    QSize corrected = size.expandedTo(QSize(MinBookWidth, MinBookHeight));
    if (corrected != size)
        resize(corrected);
    Setting.BookLeft = x();
    Setting.BookTop = y();
    Setting.BookWidth = corrected.width();
    Setting.BookHeight = corrected.height();
    if (LayoutGuard)
        return;
    Init_Window();
    if (EditMode) {
        PlaceEditBoxes();
        return;
    }
    Init_Page();
    if (RestoreLastPagePending)
        Book.GoToPage(Setting.LastFilePage);
    ShowBook();
}

void TFormMain::resizeEvent(QResizeEvent* event) {
    // Showing the window delivers a resize to the size it already has; only a change counts.
    // The start-up page is then already shown at its final size.
    if (event->size() == PaginatedSize && !LayoutGuard) {
        RestoreLastPagePending = false;
        return;
    }
    FormResize(event->size());
}

// The book picture, then the pair as the reading pipeline shows it.
void TFormMain::paintEvent(QPaintEvent*) {
    if (!TrayShowPosted) {
        TrayShowPosted = true;
        QTimer::singleShot(0, Tray, &BookTray::Show);
    }
    CountPagesLater();
    QPainter painter(this);
    if (ImageBook.isNull())
        painter.fillRect(rect(), QColor(176, 98, 40));
    else
        painter.drawImage(Geometry.ImageBook, ImageBook);
    ScreenPagePainter screen(painter);
    // The running head, when the book shows one, takes the top of the pages' text area.
    const int room = Book.Snapshot().HeadRoom;
    screen.Pages = {Geometry.LabelPage1.adjusted(0, room, 0, 0),
                    Geometry.LabelPage2.adjusted(0, room, 0, 0)};
    screen.RunningHead = QRect(Geometry.Page1Left, Geometry.PageTop, Geometry.PageWidth, room);
    screen.PageFont = {PageQFont, FromColorValue(Setting.PageFont.Color), PageLinePitch};
    screen.NumberFont = {NumberQFont, FromColorValue(Setting.PageNumberFont.Color),
                         NumberLinePitch};
    screen.Numbers = {&LabelYe1Group, &LabelYe2Group};
    screen.Underline = ImageUnderLine;
    screen.UnderlineColor = FromColorValue(Setting.UnderlineColor);
    PaintBook(Book.Snapshot(), screen, UnderlineVisible);
    PaintAutoRead(painter);
    KeepWidthsLater();
}

// A pagination wraps only as far as the pair it shows; the rest of the book is wrapped once the
// pair is on the screen, and what shows or uses the page count follows.
void TFormMain::CountPagesLater() {
    if (Book.Snapshot().PageCount > 0 || CountPagesQueued)
        return;
    CountPagesQueued = true;
    QTimer::singleShot(0, this, [this] {
        CountPagesQueued = false;
        Book.FinishPagination();
        Init_Ye();
        UpdateBookmarkMenu();
    });
}

// The widths measured for the pages just drawn are written once the drawing is on the screen,
// so that writing them never delays the book.
void TFormMain::KeepWidthsLater() {
    if (!Widths || !Widths->HasNew() || WidthsKeepQueued)
        return;
    WidthsKeepQueued = true;
    QTimer::singleShot(0, this, [this] {
        WidthsKeepQueued = false;
        Widths->Keep();
    });
}
