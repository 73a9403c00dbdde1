#include "app/Main.h"
#include "app/ProgramStart.h"
#include "app/SignalClose.h"
#include "app/SingleInstance.h"
#include "records/CommandLine.h"
#include "records/Global.h"
#include "records/ShellIntegration.h"
#include "records/TempDir.h"
#include "window/Mess.h"
#include "window/QtPrompter.h"
#include "window/ToolkitTranslation.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWindow>

#include <malloc.h>

namespace {

// Wayland does not let a program place its window, and the book opens where it was left, so
// the X11 platform (through XWayland) is preferred unless a platform is asked for.
void PreferX11() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

// The store's writes of the start (file types, the recent list) commit together once the book
// has drawn its first pages, so that the start does not wait for the disk before them. The
// commit comes from the event loop after the first paint; before a dialog shows (a message
// waits for the reader, and the store must not stay locked meanwhile); after a second at the
// latest, for a book that starts without drawing (minimised), so a crash later loses nothing.
class StartWrites : public QObject {
public:
    explicit StartWrites(Registry& registry) : Reg(registry) {
        Reg.DeferCommits();
        qApp->installEventFilter(this);
        QTimer::singleShot(LatestCommitMs, this, [this] { Commit(); });
    }
    ~StartWrites() override { Commit(); }
    void CommitAfterPaintOf(const QWidget& book) { Book = &book; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && qobject_cast<QDialog*>(watched))
            Commit();
        else if (event->type() == QEvent::Paint && watched == Book)
            QTimer::singleShot(0, this, [this] { Commit(); });
        return false;
    }

private:
    void Commit() {
        qApp->removeEventFilter(this);
        Book = nullptr;
        Reg.CommitDeferred();
    }

    static constexpr int LatestCommitMs = 1000;
    Registry& Reg;
    const QWidget* Book = nullptr;
};

// Blocks of 128 KB and more (tables by character code, text chunks, font tables) are always
// mapped on their own, so that one freed goes back to the system at once and a zeroed table
// takes memory only for the pages written. Left to itself, the allocator raises this bound
// to the largest block freed so far (the font's first metrics free one of 516 KB) and keeps
// every smaller block in its heap, where each is written in full and stays after it is freed.
void MapLargeBlocks() {
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
}

} // namespace

int main(int argc, char** argv) {
    MapLargeBlocks();
    PreferX11();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(ProgramTitle));
    const std::unique_ptr<QTranslator> chinese = InstallToolkitChinese();
    // QApplication has taken its own options out of argv; the rest are the system's bytes.
    const ProgramArguments arguments = TakeArguments(argc, argv);
    const std::string storePath = Registry::DefaultPath();
    SingleInstance instance(storePath);
    // A timed run of the start-up stays a run of its own.
    if (!arguments.QuitAfterFirstPaint &&
        instance.HandOver(CommandLineNames(arguments.Documents, CurrentDir())))
        return 0;

    QtPrompter prompter;
    SetPrompter(&prompter);
    Registry registry(storePath);
    if (!registry.OpenWarning().empty())
        ShowWarning(registry.OpenWarning());
    registry.SetFailureReporter([](const std::string& message) { ShowWarning(message); });
    StartWrites startWrites(registry);
    RegisterWithDesktop(registry);

    TFormMess progress(nullptr, ProgressShowAfterMs());
    int status = 0;
    {
        TFormMain book(registry, progress, arguments.Documents, TFormMain::StartLater{});
        startWrites.CommitAfterPaintOf(book);
        ConnectProgress(progress, book);
        prompter.SetParent(&book);
        bool closed = false;
        QObject::connect(&book, &TFormMain::FormClosed, &app, [&closed] { closed = true; });
        // exit, not quit: a close while Init still runs (a signal under a message box) must end
        // that box's loop too, and quit acts only once the main loop runs.
        QObject::connect(
            &book, &TFormMain::FormClosed, &app, [] { QCoreApplication::exit(0); },
            Qt::QueuedConnection);
        // Before the first open: a signal while a document opens closes the book with its save.
        InstallCloseOnSignals([&book] {
            // A book not shown yet has no platform window, and close() would send it no close
            // event: its close runs directly.
            if (book.windowHandle() && book.windowHandle()->handle()) {
                book.close();
                return;
            }
            book.FormClose();
            emit book.FormClosed();
        });
        if (!arguments.QuitAfterFirstPaint && instance.Listen())
            QObject::connect(&instance, &SingleInstance::Received, &book,
                             [&book](const std::vector<std::string>& names) {
                                 book.OpenHandedFiles(names);
                             });
        book.Init();
        if (!closed) {
            book.show();
            if (arguments.QuitAfterFirstPaint)
                QTimer::singleShot(0, &book, [&book] {
                    book.repaint();
                    book.close();
                });
            status = QApplication::exec();
        }
        prompter.SetParent(nullptr);
    }
    SetPrompter(nullptr);
    return status;
}
