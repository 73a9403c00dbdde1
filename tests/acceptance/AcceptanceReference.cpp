// What the acceptance journeys compare the reader with, drawn by Qt on the same display:
//   acceptance-reference message info|warning|question CAPTION TEXT
//       a message box as the reader shows its own (same icon, caption, buttons, default button),
//       so a journey can compare the reader's box with it pixel for pixel and so read back
//       exactly what the reader said;
//   acceptance-reference cursor arrow|hand|fdiag
//       a window titled "cursor" that shows that cursor over all of it;
//   acceptance-reference menu ROWS X Y
//       a popup menu at X,Y made from the file ROWS, one item a line: "-" for a separator, else
//       CAPTION, then optionally a tab and the shortcut ("Ctrl+O"), then optionally a tab and
//       flags among "sub" (a submenu), "off" (disabled), "check", "checked" and "default" (drawn
//       bold). Once shown it prints each row's top and height inside the menu, "ROW TOP HEIGHT"
//       a line, so a journey can point at a row of the reader's menu drawn the same way. It
//       closes on Escape.
#include "window/ToolkitTranslation.h"

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <cstdio>

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

int ShowMenu(const QString& rowsFile, const QPoint& at) {
    QFile file(rowsFile);
    if (!file.open(QIODevice::ReadOnly))
        return 2;
    QMenu menu;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.isEmpty())
            continue;
        if (line == QLatin1String("-")) {
            menu.addSeparator();
            continue;
        }
        const QStringList fields = line.split(QLatin1Char('\t'));
        const QStringList flags =
            fields.size() > 2 ? fields[2].split(QLatin1Char(' ')) : QStringList();
        QAction* item = flags.contains(QLatin1String("sub"))
                            ? menu.addMenu(new QMenu(fields[0], &menu))
                            : menu.addAction(fields[0]);
        if (fields.size() > 1 && !fields[1].isEmpty())
            item->setShortcut(QKeySequence::fromString(fields[1]));
        item->setEnabled(!flags.contains(QLatin1String("off")));
        item->setCheckable(flags.contains(QLatin1String("check")) ||
                           flags.contains(QLatin1String("checked")));
        item->setChecked(flags.contains(QLatin1String("checked")));
        if (flags.contains(QLatin1String("default")))
            menu.setDefaultAction(item);
    }
    QObject::connect(&menu, &QMenu::aboutToShow, &menu, [&menu] {
        QTimer::singleShot(0, &menu, [&menu] {
            const QList<QAction*> items = menu.actions();
            for (qsizetype i = 0; i < items.size(); ++i) {
                const QRect row = menu.actionGeometry(items[i]);
                std::printf("%d %d %d\n", int(i + 1), row.top(), row.height());
            }
            std::fflush(stdout);
        });
    });
    menu.exec(at);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The reader's boxes carry the toolkit's Chinese button texts.
    const std::unique_ptr<QTranslator> chinese = InstallToolkitChinese();
    const QStringList args = QApplication::arguments();
    if (args.size() == 5 && args[1] == QLatin1String("message"))
        return ShowMessage(args);
    if (args.size() == 3 && args[1] == QLatin1String("cursor"))
        return ShowCursor(args[2]);
    if (args.size() == 5 && args[1] == QLatin1String("menu"))
        return ShowMenu(args[2], QPoint(args[3].toInt(), args[4].toInt()));
    return 2;
}
