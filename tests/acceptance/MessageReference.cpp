// Shows a message box as the reader shows its own (same icon, caption, buttons and default
// button), so that an acceptance journey can compare the reader's box with it pixel for pixel
// on the same display and so read back exactly what the reader said.
//   message-reference info|warning|question CAPTION TEXT
#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 4)
        return 2;
    QMessageBox::Icon icon = QMessageBox::Information;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    if (args[1] == QLatin1String("warning"))
        icon = QMessageBox::Warning;
    else if (args[1] == QLatin1String("question")) {
        icon = QMessageBox::Question;
        buttons |= QMessageBox::Cancel;
    }
    QMessageBox box(icon, args[2], args[3], buttons);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? 0 : 1;
}
