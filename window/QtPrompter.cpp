#include "QtPrompter.h"

#include <QMessageBox>
#include <QWidget>

namespace {

int Show(QWidget* parent, QMessageBox::Icon icon, const char* caption, const std::string& text,
         QMessageBox::StandardButtons buttons) {
    // A hidden book (in the tray) would give the box no place on the screen.
    QWidget* owner = parent && parent->isVisible() ? parent : nullptr;
    QMessageBox box(icon, QString::fromUtf8(caption), QString::fromStdString(text), buttons, owner);
    // Messages name files, and a name may look like mark-up: it is shown as it is written.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Ok);
    if (buttons & QMessageBox::Cancel)
        box.setEscapeButton(QMessageBox::Cancel);
    return box.exec();
}

} // namespace

void QtPrompter::Info(const std::string& text) {
    Show(Parent, QMessageBox::Information, InfoCaption, text, QMessageBox::Ok);
}

void QtPrompter::Warning(const std::string& text) {
    Show(Parent, QMessageBox::Warning, WarningCaption, text, QMessageBox::Ok);
}

bool QtPrompter::Confirm(const std::string& text) {
    return Show(Parent, QMessageBox::Question, ConfirmCaption, text,
                QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}
