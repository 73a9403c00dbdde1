#include "app/Main.h"
#include "window/Mess.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("墨卷"));
    TFormMess progress;
    TFormMain book(progress);
    book.show();
    return app.exec();
}
