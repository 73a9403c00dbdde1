#include "app/Main.h"
#include "app/SignalClose.h"
#include "records/Global.h"
#include "window/Mess.h"
#include "window/QtPrompter.h"

#include <QApplication>
#include <QTimer>

namespace {

// Wayland does not let a program place its window, and the book opens where it was left, so
// the X11 platform (through XWayland) is preferred unless a platform is asked for.
void PreferX11() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

// "--quit-after-first-paint" lets the start-up benchmark time a whole run; every other
// argument names a document.
QStringList TakeDocuments(const QStringList& arguments, bool& quitAfterFirstPaint) {
    QStringList documents;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--quit-after-first-paint"))
            quitAfterFirstPaint = true;
        else
            documents << arguments[i];
    }
    return documents;
}

} // namespace

int main(int argc, char** argv) {
    PreferX11();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("墨卷"));
    QtPrompter prompter;
    SetPrompter(&prompter);

    Registry registry(Registry::DefaultPath());
    if (!registry.OpenWarning().empty())
        ShowWarning(registry.OpenWarning());
    registry.SetFailureReporter([](const std::string& message) { ShowWarning(message); });

    bool quitAfterFirstPaint = false;
    const QStringList documents = TakeDocuments(QApplication::arguments(), quitAfterFirstPaint);
    TFormMess progress;
    int status = 0;
    {
        TFormMain book(registry, progress, documents);
        prompter.SetParent(&book);
        InstallCloseOnSignals([&book] { book.close(); });
        QObject::connect(&book, &TFormMain::FormClosed, &app, &QCoreApplication::quit,
                         Qt::QueuedConnection);
        book.show();
        if (quitAfterFirstPaint)
            QTimer::singleShot(0, &book, [&book] {
                book.repaint();
                book.close();
            });
        status = QApplication::exec();
        prompter.SetParent(nullptr);
    }
    SetPrompter(nullptr);
    return status;
}
