// The book's side of a settings store that another process holds: the store is tried again
// while the book runs, read when it frees, and the close retries its save for a few seconds.
#include "Main.h"

#include "records/Global.h"
#include "records/SettingsStore.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>

namespace {

constexpr int StoreRetryIntervalMs = 1000;
constexpr int StoreRetryWaitMs = 50;
constexpr int CloseRetryMs = 4000;
constexpr int CloseRetryStepMs = 250;
constexpr char CloseSavingCaption[] = "正在保存阅读记录";

} // namespace

void TFormMain::WatchStore() {
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &TFormMain::RetryStore);
    timer->start(StoreRetryIntervalMs);
}

// Nothing changes under an open dialog or menu; the next tick comes soon enough.
void TFormMain::RetryStore() {
    if (Closed || QApplication::activeModalWidget() || QApplication::activePopupWidget())
        return;
    if (Reg.Held()) {
        if (!Reg.TryReopen(StoreRetryWaitMs))
            return;
        ReadFreedStore();
    }
    if (List->HasPendingWrite())
        List->RetryPendingWrite();
}

// The book ran on the defaults while the store was held: the settings and the list are read
// now and applied, the documents opened meanwhile go on top of the stored list, and a book
// started without documents that still shows the help text reopens the last document.
void TFormMain::ReadFreedStore() {
    LoadSettings(Reg, Setting);
    if (List->HasPendingWrite())
        List->RetryPendingWrite();
    else
        List->Load();
    Changes = ChangeFlags{true, true, true, true, true, true};
    Init_Setup();
    if (Store.DocumentName.empty() && Documents.empty())
        OpenCommandLine();
}

// At close the save is tried again for a few seconds, the progress window showing; if the
// store stays held, the reader is told plainly that this session's changes were not kept.
bool TFormMain::SaveAtClose(const WindowBounds& current, const WindowBounds& normal) {
    Reg.SetFailureReporter(nullptr); // "goes on as usual" is no longer true
    const auto save = [&] {
        return Reg.TryReopen(StoreRetryWaitMs) &&
               SaveSettings(Reg, Setting, current, IsMaximized(), normal,
                            {Store.DocumentName, List->CurrentIndex, Store.CurrentPage}) &&
               List->RetryPendingWrite();
    };
    if (save())
        return true;
    const int steps = CloseRetryMs / CloseRetryStepMs;
    Progress.InitShowMess(0, steps, CloseSavingCaption);
    const QDeadlineTimer deadline(CloseRetryMs);
    bool saved = false;
    for (int step = 1; !saved && !deadline.hasExpired(); ++step) {
        Progress.ShowMessPos(std::min(step, steps));
        QThread::msleep(CloseRetryStepMs);
        saved = save();
    }
    Progress.CloseShowMess();
    if (!saved)
        ShowWarning(CloseNotSavedText);
    return saved;
}
