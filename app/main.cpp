#include "app/Main.h"
#include "app/ProgramStart.h"
#include "app/SignalClose.h"
#include "records/Global.h"
#include "records/ShellIntegration.h"
#include "window/Mess.h"
#include "window/QtPrompter.h"
#include "window/ToolkitTranslation.h"

#include <QApplication>
#include <QTimer>

namespace {

// Wayland does not let a program place its window, and the book opens where it was left, so
// the X11 platform (through XWayland) is preferred unless a platform is asked for.
void PreferX11() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

} // namespace

int main(int argc, char** argv) {
    PreferX11();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(ProgramTitle));
    const std::unique_ptr<QTranslator> chinese = InstallToolkitChinese();
    QtPrompter prompter;
    SetPrompter(&prompter);

    Registry registry(Registry::DefaultPath());
    if (!registry.OpenWarning().empty())
        ShowWarning(registry.OpenWarning());
    registry.SetFailureReporter([](const std::string& message) { ShowWarning(message); });
    RegisterWithDesktop(registry);

    // QApplication has taken its own options out of argv; the rest are the system's bytes.
    const ProgramArguments arguments = TakeArguments(argc, argv);
    TFormMess progress;
    int status = 0;
    {
        TFormMain book(registry, progress, arguments.Documents, TFormMain::StartLater{});
        ConnectProgress(progress, book);
        prompter.SetParent(&book);
        book.Init();
        InstallCloseOnSignals([&book] { book.close(); });
        QObject::connect(&book, &TFormMain::FormClosed, &app, &QCoreApplication::quit,
                         Qt::QueuedConnection);
        book.show();
        if (arguments.QuitAfterFirstPaint)
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
