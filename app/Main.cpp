#include "Main.h"

#include "reader/Navigation.h"
#include "reader/PageNumbers.h"
#include "reader/TextPasses.h"
#include "records/CommandLine.h"
#include "records/Global.h"
#include "records/SettingsStore.h"
#include "records/ShellIntegration.h"
#include "records/TempDir.h"
#include "text/GbkText.h"
#include "window/BookPicture.h"
#include "window/Mess.h"
#include "window/PageText.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>

static void InitResources() {
    Q_INIT_RESOURCE(resources);
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
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), Reg(registry), Progress(progress),
      Documents(std::move(documents)) {
    InitResources();
    setWindowTitle(QString::fromUtf8(ProgramTitle));
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Moves without a button pressed set the cursor of the hot area under the mouse.
    setMouseTracking(true);
    ImageBookPic = QImage(QStringLiteral(":/skin.bmp"));
    List = std::make_unique<RecentList>(Reg, Setting);
    Actions.OpenFile = [this](const std::string& path) { return ReadDocument(path); };
    Actions.FinishOpen = [this](int index, const std::string& text) { FinishOpen(index, text); };
    Actions.UpdateMainForm = [this] { UpdateMainForm(); };
    setAcceptDrops(true);
    Menus = new MainMenu(this);
    ConnectMenus();
    ConnectEditMenus();
    ConnectWindowState();
    ConnectFileCommands();
    ConnectMarks();
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
        if (!List->RunBatch(names, Actions))
            ShowHelpText();
        return;
    }
    const ReopenResult reopened = List->StartupReopen(Actions);
    Setting.LastFileIndex = reopened.LastFileIndex;
    if (reopened.Opened) {
        ChangeYe(reopened.Page);
        // The first resize after start-up shows the page again at its final size, unless the
        // reader has moved on by then (every ChangeYe clears the flag).
        RestoreLastPagePending = true;
    } else {
        ShowHelpText();
    }
}

void TFormMain::ShowHelpText() {
    Store.DocumentName.clear();
    Init_Page();
    ChangeYe(1);
}

void TFormMain::Tell(const UserMessage& message) {
    Show(message);
}

void TFormMain::Init_Var() {
    StartDir = CurrentDir();
    TempDir = TempDirPath();
    Store = DocumentStore();
    DragNow = DragState::Idle;
    EditMode = false;
    UnderlineLine = 1;
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
    Measurer = std::make_unique<QtTextMeasurer>(PageQFont);
    Widths = std::make_unique<CharWidthCache>(*Measurer);
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
    const SetupWork work = WorkFor(Changes);
    if (work.LoadPicture)
        LoadBackground();
    if (work.ApplyMaximized)
        Init_Max();
    if (work.LayOut)
        Init_Window();
    if (work.Reprocess)
        Init_Page_Do(Store, TextOptionsOf(Setting), Progress);
    if (work.Repaginate) {
        Init_Page();
        // ChangeYe rather than the page text alone: the page kept in proportion may be even,
        // and the left page of a pair must stay odd.
        ChangeYe(Store.CurrentPage);
    }
    Init_UnderLine();
    if (work.PlaceNumbers)
        Init_Ye();
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
    if (Store.DocumentName.empty()) {
        List->CurrentIndex = -1;
        TextOptions options = TextOptionsOf(Setting);
        UseHelpText(Store, MemoReadme(), options);
        SetTextOptions(Setting, options);
    }
    PageFormat format;
    format.WrapWidth = Geometry.WrapWidth();
    format.PageHeight = Geometry.PageHeight;
    format.TestHeight = 4 * PageLinePitch;
    format.DoubleSpacing = Setting.DoubleSpacing;
    format.Punctuation = static_cast<PunctuationRule>(Setting.Punctuation);
    Store.Paginate(format, *Widths, Progress);
    PaginatedSize = QSize(Setting.BookWidth, Setting.BookHeight);
    PutUnderline(false, 1);
    Init_UnderLine();
}

void TFormMain::ChangeYe(int n) {
    RestoreLastPagePending = false;
    Store.GoToPage(n);
    Init_Page_String();
    Init_Ye();
    PutUnderline(false, 1);
    Init_UnderLine();
}

void TFormMain::Init_Page_String() {
    if (EditMode || SavingEdit) {
        EditPageString();
        return;
    }
    Pages = CutPagePair(Store, Setting.DoubleSpacing);
    UpdateBookmarkMenu();
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

void TFormMain::Init_Ye() {
    LabelYe1Group.Ye.Caption = QString::fromStdString(
        PageNumberCaption(Store.CurrentPage, Store.PageCount, Setting.PageNumberShowTotal[0]));
    LabelYe2Group.Ye.Caption = QString::fromStdString(
        PageNumberCaption(Store.CurrentPage + 1, Store.PageCount, Setting.PageNumberShowTotal[1]));
    const QSize size1 = LabelSize(LabelYe1Group.Whole());
    const int width2 = LabelSize(LabelYe2Group.Whole()).width();
    const PageNumberBook book{
        Setting.BookWidth,       Setting.BookHeight, Geometry.ScaleX, Setting.PageNumberPosition,
        Setting.ShowPageNumbers, Store.CurrentPage,  Store.PageCount};
    const PageNumberPlacement at = PlacePageNumbers(book, size1.width(), width2, size1.height());
    PlaceNumberGroup(LabelYe1Group, at.LeftX, at.LeftY);
    PlaceNumberGroup(LabelYe2Group, at.RightX, at.RightY);
    for (BookLabel* label : {&LabelYe2Group.Be, &LabelYe2Group.Ye, &LabelYe2Group.Af})
        label->Visible = at.RightVisible;
    update();
}

void TFormMain::Init_UnderLine() {
    const int top = UnderlineTop(Geometry.PageTop, Setting.UnderlineOffset, PageLinePitch,
                                 UnderlineLine, Setting.DoubleSpacing);
    ImageUnderLine =
        QRect(ImageUnderLine.left(), top, Geometry.PageWidth, std::max(1, Setting.UnderlineWidth));
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
    ChangeYe(RestoreLastPagePending ? Setting.LastFilePage : Store.CurrentPage);
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

void TFormMain::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (ImageBook.isNull())
        painter.fillRect(rect(), QColor(176, 98, 40));
    else
        painter.drawImage(Geometry.ImageBook, ImageBook);
    const QColor pageColor = FromColorValue(Setting.PageFont.Color);
    DrawPageText(painter, Geometry.LabelPage1, Pages.Left, PageQFont, pageColor, PageLinePitch);
    DrawPageText(painter, Geometry.LabelPage2, Pages.Right, PageQFont, pageColor, PageLinePitch);
    const QColor numberColor = FromColorValue(Setting.PageNumberFont.Color);
    for (const PageNumberLabels* group : {&LabelYe1Group, &LabelYe2Group})
        for (const BookLabel* label : {&group->Be, &group->Ye, &group->Af})
            if (label->Visible && !label->Caption.isEmpty())
                DrawPageText(painter, label->Rect, gbk::FromUtf8(label->Caption.toStdString()),
                             NumberQFont, numberColor, NumberLinePitch);
    if (UnderlineVisible)
        painter.fillRect(ImageUnderLine, FromColorValue(Setting.UnderlineColor));
    PaintAutoRead(painter);
}
