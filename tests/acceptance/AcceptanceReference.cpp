// What the acceptance journeys compare the reader with, drawn by Qt on the same display:
//   acceptance-reference message info|warning|question CAPTION TEXT
//       a message box as the reader shows its own (same icon, caption, buttons, default button),
//       so a journey can compare the reader's box with it pixel for pixel and so read back
//       exactly what the reader said;
//   acceptance-reference cursor arrow|hand|fdiag
//       a window titled "cursor" that shows that cursor over all of it.
#include <QApplication>
#include <QMessageBox>
#include <QWidget>

namespace {

int ShowMessage(const QStringList& args) {
    QMessageBox::Icon icon = QMessageBox::Information;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    if (args[2] == QLatin1String("warning"))
        icon = QMessageBox::Warning;
    else if (args[2] == QLatin1String("question")) {
        icon = QMessageBox::Question;
        buttons |= QMessageBox::Cancel;
    }
    QMessageBox box(icon, args[3], args[4], buttons);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? 0 : 1;
}

int ShowCursor(const QString& shape) {
    QWidget window;
    window.setWindowTitle(QStringLiteral("cursor"));
    window.resize(200, 200);
    Qt::CursorShape cursor = Qt::ArrowCursor;
    if (shape == QLatin1String("hand"))
        cursor = Qt::PointingHandCursor;
    else if (shape == QLatin1String("fdiag"))
        cursor = Qt::SizeFDiagCursor;
    window.setCursor(cursor);
    window.show();
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() == 5 && args[1] == QLatin1String("message"))
        return ShowMessage(args);
    if (args.size() == 3 && args[1] == QLatin1String("cursor"))
        return ShowCursor(args[2]);
    return 2;
}
