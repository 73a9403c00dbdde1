#include "Main.h"

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
#include <QPainter>
#include <QResizeEvent>

static void InitResources() {
    Q_INIT_RESOURCE(resources);
}

TFormMain::TFormMain(Registry& registry, ProgressWindow& progress, QStringList documents,
                     QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), Reg(registry), Progress(progress),
      Documents(std::move(documents)) {
    InitResources();
    setWindowTitle(QStringLiteral("墨卷"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
    ImageBookPic = QImage(QStringLiteral(":/skin.bmp"));
    List = std::make_unique<RecentList>(Reg, Setting);
    Actions.OpenFile = [this](const std::string& path) { return ReadDocument(path); };
    Actions.FinishOpen = [this](int index, const std::string& text) { FinishOpen(index, text); };
    Actions.UpdateMainForm = [this] { UpdateMainForm(); };
    setAcceptDrops(true);
    Menus = new MainMenu(this);
    ConnectMenus();
    ConnectWindowState();
    if (auto* mess = dynamic_cast<TFormMess*>(&Progress))
        mess->SetMainForm(this, [this] { ShowMainForm(); });
    Init();
}

TFormMain::~TFormMain() = default;

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
}

void TFormMain::OpenCommandLine() {
    std::vector<std::string> args;
    for (const QString& arg : Documents)
        args.push_back(arg.toStdString());
    const std::vector<std::string> names = CommandLineNames(args, StartDir);
    if (!names.empty()) {
        if (!List->RunBatch(names, Actions)) {
            Store.DocumentName.clear();
            Init_Page();
            ChangeYe(1);
        }
        return;
    }
    const ReopenResult reopened = List->StartupReopen(Actions);
    Setting.LastFileIndex = reopened.LastFileIndex;
    if (reopened.Opened) {
        // The first resize after start-up shows the page again at its final size.
        RestoreLastPagePending = true;
        ChangeYe(reopened.Page);
    } else {
        Store.DocumentName.clear();
        Init_Page();
        ChangeYe(1);
    }
}

void TFormMain::Init_Var() {
    StartDir = CurrentDir();
    TempDir = TempDirPath();
    Store = DocumentStore();
    DragState = 0;
    EditMode = false;
    UnderlineLine = 1;
    List->CurrentIndex = -1;
    RegisterFileTypes(Reg, ProgramPath());
    InstallDesktopFiles(ProgramPath());
    LoadSettings(Reg, Setting);
    List->Changed = [this] { RebuildRecentMenu(); };
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
    SaveSettings(Reg, Setting, current, IsMaximized(), normal,
                 {Store.DocumentName, List->CurrentIndex, Store.CurrentPage});
    BoundsGuard = true;
    hide();
    setWindowState(windowState() & ~Qt::WindowMaximized);
    // The folder being removed must never be the current one.
    ChangeDir(StartDir);
    DeleteDir(TempDir);
}

void TFormMain::closeEvent(QCloseEvent* event) {
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
        Init_Page_Do(Store, Setting, Progress);
    if (work.Repaginate) {
        Init_Page();
        // The place kept in proportion may be an even page; a pair always starts on an odd one,
        // and its numbers follow the new pagination.
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
        setWindowState(windowState() | Qt::WindowMaximized);
    } else {
        setWindowState(windowState() & ~Qt::WindowMaximized);
    }
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
        Store.SetHelpText(MemoReadme());
        Setting.ConvertBig5 = Setting.ConvertGb = false;
        Setting.ProcessHtml = Setting.SmartParagraphs = false;
    }
    PageFormat format;
    format.WrapWidth = Geometry.WrapWidth();
    format.PageHeight = Geometry.PageHeight;
    format.TestHeight = 4 * PageLinePitch;
    format.DoubleSpacing = Setting.DoubleSpacing;
    Store.Paginate(format, *Widths, Progress);
    PaginatedSize = QSize(Setting.BookWidth, Setting.BookHeight);
    PutUnderline(false, 1);
    Init_UnderLine();
}

void TFormMain::ChangeYe(int n) {
    Store.GoToPage(n);
    Init_Page_String();
    Init_Ye();
    PutUnderline(false, 1);
    Init_UnderLine();
}

void TFormMain::Init_Page_String() {
    Pages = CutPagePair(Store, Setting.DoubleSpacing);
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
    const PageNumberMargins margins = PageNumberMarginsFor(Geometry.ScaleX);
    const int w = Setting.BookWidth, h = Setting.BookHeight;
    const int page = Store.CurrentPage, count = Store.PageCount;

    LabelYe1Group.Ye.Caption =
        QString::fromStdString(PageNumberCaption(page, count, Setting.PageNumberShowTotal[0]));
    const QSize size1 = LabelSize(LabelYe1Group.Whole());
    const int y = NumberY(Setting.PageNumberPosition[0], h, margins, size1.height());
    PlaceNumberGroup(LabelYe1Group,
                     LeftNumberX(Setting.PageNumberPosition[0], w, margins, size1.width()), y);

    const bool rightShown = Setting.ShowPageNumbers && page + 1 <= count;
    for (BookLabel* label : {&LabelYe2Group.Be, &LabelYe2Group.Ye, &LabelYe2Group.Af})
        label->Visible = rightShown;
    LabelYe2Group.Ye.Caption =
        QString::fromStdString(PageNumberCaption(page + 1, count, Setting.PageNumberShowTotal[1]));
    const int width2 = LabelSize(LabelYe2Group.Whole()).width();
    // Both groups use the same font, so the left group's height serves for the right one too.
    PlaceNumberGroup(LabelYe2Group, RightNumberX(Setting.PageNumberPosition[1], w, margins, width2),
                     NumberY(Setting.PageNumberPosition[1], h, margins, size1.height()));
    update();
}

void TFormMain::Init_UnderLine() {
    const int n = Setting.DoubleSpacing ? 2 * UnderlineLine - 1 : UnderlineLine;
    const int top = Geometry.PageTop + Setting.UnderlineOffset + PageLinePitch * n;
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
    Init_Page();
    if (RestoreLastPagePending) {
        RestoreLastPagePending = false;
        ChangeYe(Setting.LastFilePage);
    } else {
        ChangeYe(Store.CurrentPage);
    }
}

void TFormMain::resizeEvent(QResizeEvent* event) {
    // Showing the window delivers a resize to the size it already has; only a change counts.
    if (event->size() == PaginatedSize && !LayoutGuard)
        return;
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
}
