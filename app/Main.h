#pragma once
// The book window: owns the settings, the document store and the layout, turns events into
// calls of the reading core, and draws the book.
#include "base/UserMessage.h"
#include "dialogs/Chapters.h"
#include "dialogs/Search.h"
#include "reader/OpenBook.h"
#include "records/Bookmarks.h"
#include "records/RecentList.h"
#include "records/Registry.h"
#include "records/Settings.h"
#include "records/SettingsStore.h"
#include "window/BookDrag.h"
#include "window/BookGeometry.h"
#include "window/BookLabels.h"
#include "window/EditBox.h"
#include "window/MainMenu.h"
#include "window/PageFont.h"
#include "window/PageWidths.h"
#include "window/SystemMoves.h"
#include "window/Tray.h"

#include <QFont>
#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class AutoReadParts;
class QDialog;
class QPainter;
class TOpenTextDialog;
struct ZipChoice;

class TFormMain : public QWidget {
    Q_OBJECT

public:
    // The settings store and the progress window are the program entry's and outlive this
    // window. `documents` are the files named on the command line, as the system passed them.
    // The book starts at once (Init).
    TFormMain(Registry& registry, ProgressWindow& progress, std::vector<std::string> documents = {},
              QWidget* parent = nullptr);
    // For the program entry, which connects the progress window to the book before the book
    // starts: the book is made without running Init, and the entry calls it.
    struct StartLater {};
    TFormMain(Registry& registry, ProgressWindow& progress, std::vector<std::string> documents,
              StartLater);
    ~TFormMain() override;

    // Start-up: settings, layout, then the first document or the help text.
    void Init();

    void Init_Var();
    void Init_Setup();
    void Init_Max();
    void Init_Window();
    // The page format of the book as it is laid out now: the reading pipeline wraps again only
    // when it changed, and keeps the place.
    void Init_Page();
    // Shows the pair that holds page n (every page move of the window goes through here).
    void ChangeYe(int n);
    void Init_Ye();
    void Init_UnderLine();
    void FormResize(const QSize& size);

    // Navigation: the strips always act; the page menu's commands only while their item is
    // enabled, also when a key reaches them.
    void ImagePagePrevClick();
    void ImagePageNextClick();
    void ItemPagePrevClick();
    void ItemPageNextClick();
    void ItemPageFirstClick();
    void ItemPageLastClick();
    void MenuPageMovePopup();
    void FormKeyDown(int virtualKey);
    void MoveUnderLine(int delta);

    // Showing, hiding and maximising the book, and its tray icon (MainWindowState.cpp). Where
    // the desktop has no tray, hiding minimises instead, so the book can always come back.
    // Shows the book (restoring it when minimised) and brings it to the front.
    void ShowMainForm();
    // Brings the book to the front and repaints it at once.
    void UpdateMainForm();
    void ImageMinSizeClick();
    void ItemShowClick();
    void ItemMaxClick();
    void OnMinimize();
    bool BookShown() const;
    BookTray* Tray = nullptr;
    static constexpr int TrayLatestMs = 1000;
    bool TrayShowPosted = false;
    // Where presses on the move and resize areas (and page drags) are handed to the window
    // system; tests put a recorder here.
    std::unique_ptr<SystemMoves> Moves;
    // The settings dialog (MainSetup.cpp); OK re-applies what changed through Init_Setup.
    void ItemSetupClick();

    // Opening a document: read the file, then the text passes, pagination and page 1. A file
    // that cannot be read leaves the shown document as it was.
    bool OpenDocument(const std::string& path);
    // Shows a document that has been read: the HTML switch for an HTML name, the text passes,
    // pagination at the book's page format, pages 1-2.
    void ShowOpened(const std::string& name, std::vector<Chunk> chunks);
    // No document: the built-in help text at page 1.
    void ShowHelpText();
    // Opens recent entry p (the menu position), as a click on it does: resolves what it refers
    // to, reads the file, opens it in the book and records the outcome on the list. True when
    // a document was opened.
    bool OnItemNewFileClick(int p);
    void ItemFilePrevClick();
    void ItemFileNextClick();
    // Files dropped on the book or named together: at most 50, the first on top and shown.
    void OpenFileList(const std::vector<std::string>& paths);
    // Names a later start of the program handed over, in the order the recent list takes them:
    // the book comes to the front and opens them as it opens dropped files.
    void OpenHandedFiles(std::vector<std::string> names);
    void ItemBIG5Click(QAction* sender);
    void ItemRefreshClick();
    // "文字编码": the open document read again in the chosen encoding, at the same place.
    void ItemCodeClick(QAction* sender);
    void MenuMainPopup();
    // Files: the open dialog, saving the shown text, generating a library file. The dialogs are
    // made on first use and kept, so they remember their folder and the BIG5 box.
    void ItemOpenClick();
    void ItemSaveClick();
    void ItemLibClick();
    // Runs a modal dialog and gives its result; tests replace it to answer the dialog.
    std::function<int(QDialog&)> RunDialog;
    TOpenTextDialog* OpenDialog = nullptr;
    TOpenTextDialog* SaveDialog = nullptr; // a TSaveTextDialog, as is LibDialog
    TOpenTextDialog* LibDialog = nullptr;

    // Shut-down: every setting and the last document written, the temporary folder removed.
    void FormClose();
    // Runs every second: a store another process held at start is read once it frees, and
    // recent-list changes the store could not take yet are written.
    void RetryStore();

    // Edit mode (MainEdit.cpp): the shown pair edited in two boxes over the pages. While it is
    // on, nothing else changes the document or the pages.
    void ItemEditClick();
    void ItemSaveEditClick();
    void ItemExitEditClick();
    // Esc in a box: leaves, asking first when the text was changed.
    void AskExitEdit();
    bool EditTextChanged() const;
    // A close asked for by the window manager while changed text is in the boxes asks first;
    // "退出" cannot be reached while editing, and a termination signal does not ask.
    bool MayCloseWhileEditing(bool fromWindowManager);
    // The two editing boxes, 1 and 2.
    EditBox* MemoEdit(int i) const { return i == 1 ? MemoEdit1 : MemoEdit2; }
    // The web shortcuts (they neither show the book nor record anything) and quitting.
    void ItemReadClipClick();
    void ItemRecordTimeClick();
    void ItemAboutClick();
    void ItemQuitClick();
    // Search, go to a page, bookmarks and clearing the reading records (MainSearch.cpp,
    // MainGoToPage.cpp, MainBookmarks.cpp, MainClearNew.cpp).
    void ItemSearchClick();
    void ItemSearchNextClick();
    void ItemSearchPrevClick();
    void ItemSearchAllClick();
    void DoSearch(const QString& text, bool matchCase);
    TFormSearch& SearchForm();
    std::unique_ptr<TFormSearch> FormSearch; // made on first use, then lives for the whole run
    void ItemInputYeClick();
    void ItemAddLabelClick();
    void ItemEditLabelClick();
    void ItemDeleteLabelClick();
    void OnLabelInputClick(int k);
    // A bookmark of the open document is on the shown pair.
    bool LabelOnPage();
    // The open document's bookmarks, read when it has been opened from the recent list.
    void LoadBookmarks();
    std::unique_ptr<Bookmarks> Marks;
    void ItemClearNewItemClick();
    // The states of these commands' items, set each time their menu opens.
    void MenuMarksPopup();
    void MenuPageMarksPopup();
    // Chapters (MainChapters.cpp): the list "目录", the chapter keys and their page-menu items.
    void ItemChaptersClick();
    void ItemChapterPrevClick();
    void ItemChapterNextClick();
    void MenuChapterPopup();
    // The open document's own chapter pattern, read from its record.
    void LoadChapterPattern();
    // Automatic reading, the clock and the alarms (MainAutoRead.cpp).
    void ItemAutoReadClick(); // starts or stops
    void PauseAutoRead();
    bool AutoReading() const;
    void CheckAlarms();
    // Shows an alarm's text; tests replace it.
    std::function<void(const QString&)> ShowAlarm;

signals:
    // The book has closed: the program ends here and nowhere else (not when the last visible
    // window closes while the book is hidden in the tray).
    void FormClosed();

public:
    // The built-in help text as GBK bytes, each line followed by CR LF.
    static std::string MemoReadme();

    // The state the settings dialog and the menus change from outside.
    Settings Setting;
    // The open document and the reader's place in it.
    OpenBook Book;
    ChangeFlags Changes;
    std::unique_ptr<RecentList> List;
    MainMenu* Menus = nullptr;

    // What the book shows, for reading only.
    const PagePairText& ShownPages() const { return Book.Snapshot().Pages; }
    const BookGeometry& Layout() const { return Geometry; }
    const PageNumberLabels& PageNumberGroup(int i) const {
        return i == 0 ? LabelYe1Group : LabelYe2Group;
    }
    QRect UnderlineRect() const { return ImageUnderLine; }
    int UnderlineRow() const { return Book.Underline().Line; }
    bool UnderlineShown() const { return UnderlineVisible; }
    bool UnderlineOnRightPage() const { return Book.Underline().RightPage; }
    int PagePitch() const { return PageLinePitch; }
    DragState Drag() const { return DragNow; }
    bool RestorePending() const { return RestoreLastPagePending; }
    QRect NormalBoundsRect() const { return NormalBounds; }
    const std::string& StartFolder() const { return StartDir; }
    const std::string& TempFolder() const { return TempDir; }
    bool InEditMode() const { return EditMode; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool event(QEvent* event) override;

private:
    friend class AutoReadParts;
    AutoReadParts* AutoParts = nullptr; // a child object: timers, the reader, the alarm schedule
    void ConnectAutoRead();
    void DisconnectAutoRead();
    bool AutoReadEvent(QEvent* event);
    void AutoReadTick();
    void PaintAutoRead(QPainter& painter);
    void ApplyFonts();
    void KeepWidthsLater();
    void CountPagesLater();
    void LoadBackground();
    void PlaceNumberGroup(PageNumberLabels& group, int x, int y);
    QSize LabelSize(const QString& caption) const;
    BookPart PartAt(const QPoint& pos) const;
    void ConnectMenus();
    void ConnectEditMenus();
    void CreateEditBoxes();
    void PlaceEditBoxes();
    void FillEditBoxes();
    void LeaveEditMode();
    std::optional<PageEdit> Edit;
    EditBox* MemoEdit1 = nullptr;
    EditBox* MemoEdit2 = nullptr;
    void ConnectWindowState();
    void HideMainForm();
    void ConnectFileCommands();
    void MakeFileDialogs();
    bool RunFileDialog(TOpenTextDialog* dialog);
    void ConnectMarks();
    void ConnectChapters();
    std::vector<ChapterRow> ChapterRows();
    void ShowChapter(bool moved);
    // A hit or a heading reached: the underline on, under its line.
    void ShowHit();
    void RecordChapter();
    std::string RecentMenuCaption(int p);
    std::string RecordedChapter; // the chapter last written to the open document's record
    BookmarkContext MarksContext();
    Bookmarks::AskCaption AskCaption(const QString& title);
    void BookmarksChanged();
    void UpdateBookmarkMenu();
    void RebuildRecentMenu();
    void OpenCommandLine();
    // A store held by another process (MainStore.cpp).
    void WatchStore();
    void ReadFreedStore();
    bool SaveAtClose(const WindowBounds& current, const WindowBounds& normal);
    // The steps of OnItemNewFileClick (MainOpen.cpp): an archive's chosen entries go on top and
    // the first is opened; a file is read in the entry's encoding and shown.
    bool OpenChosenEntries(const std::string& archive);
    bool ReadAndShow(int index, const std::string& file, const std::string& name);
    // A batch put on top, then its top entry opened; a start-up reopen carried out.
    bool OpenBatch(const std::vector<std::string>& names);
    bool Reopen(const ReopenPlan& plan);
    ZipChoice ChooseEntries(const std::string& archive);
    void Tell(const UserMessage& message);
    static void RunItem(QAction* item);
    // After every call of the reading pipeline: the page numbers, the underline, the bookmark
    // items and (in edit mode) the boxes follow what it shows.
    void ShowBook();
    TextOptions Options() const;
    void SetTextOptions(const TextOptions& options);
    void TurnByClick(BookPart part, const QPoint& pos);
    bool IsMaximized() const { return windowState() & Qt::WindowMaximized; }
    void MaximizeBeforeShowing();

    Registry& Reg;
    ProgressWindow& Progress;
    std::vector<std::string> Documents;
    bool Closed = false;

    BookGeometry Geometry;
    bool BoundsGuard = false;
    bool LayoutGuard = false;
    bool RestoreLastPagePending = false;
    TextPosition PlaceToOpen; // where the document opened next shows: the start but at a reopen
    QRect NormalBounds;
    std::string StartDir;
    std::string TempDir;

    PageNumberLabels LabelYe1Group;
    PageNumberLabels LabelYe2Group;
    QRect ImageUnderLine;
    bool UnderlineVisible = false;
    int PageLinePitch = 12;
    bool EditMode = false;
    DragState DragNow = DragState::Idle;

    QFont PageQFont;
    QFont NumberQFont;
    int NumberLinePitch = 12;
    std::unique_ptr<PageWidths> Widths;
    FontSpec WidthsFont; // the page font Widths measures
    bool WidthsKeepQueued = false;
    bool CountPagesQueued = false;
    QImage ImageBookPic; // the built-in skin
    QImage ImageBook;    // what the book shows: the skin or the background picture
    QSize PaginatedSize; // the size the book was last laid out and paginated at
};
