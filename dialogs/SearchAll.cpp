#include "SearchAll.h"

#include "DialogFont.h"

#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <QVBoxLayout>

TFormSearchAll::TFormSearchAll(QWidget* parent)
    : QDialog(parent), LabelStatus(new QLabel(this)), ListHits(new QListWidget(this)),
      Timer(new QTimer(this)) {
    setWindowTitle(QStringLiteral("查找全部"));
    setFont(DialogFont());
    resize(480, 400);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelStatus);
    layout->addWidget(ListHits);
    Timer->setInterval(0);
    connect(Timer, &QTimer::timeout, this, &TFormSearchAll::Tick);
    connect(ListHits, &QListWidget::itemActivated, this, [this] { accept(); });
}

void TFormSearchAll::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ListHits->setFocus();
    if (More)
        Timer->start();
}

void TFormSearchAll::Tick() {
    if (!More || !More())
        Timer->stop();
}

void TFormSearchAll::AddRows(const QStringList& rows) {
    const bool first = ListHits->count() == 0;
    ListHits->addItems(rows);
    if (first && ListHits->count() > 0)
        ListHits->setCurrentRow(0);
}

void TFormSearchAll::SetStatus(const QString& text) {
    LabelStatus->setText(text);
}

int TFormSearchAll::Chosen() const {
    return ListHits->currentRow();
}
