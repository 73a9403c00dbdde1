#include "Chapters.h"

#include "DialogFont.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int RowRole = Qt::UserRole;

} // namespace

TFormChapters::TFormChapters(QWidget* parent)
    : QDialog(parent), EditFilter(new QLineEdit(this)), ListChapters(new QListWidget(this)),
      EditPattern(new QLineEdit(this)),
      BtnPattern(new QPushButton(QStringLiteral("应用规则"), this)),
      LabelPatternError(new QLabel(this)) {
    setWindowTitle(QStringLiteral("目录"));
    setFont(DialogFont());
    resize(340, 420);
    EditFilter->setPlaceholderText(QStringLiteral("输入文字筛选章节"));
    EditPattern->setPlaceholderText(QStringLiteral("本书的章节规则（正则表达式），空为自动识别"));
    BtnPattern->setAutoDefault(false);
    LabelPatternError->setWordWrap(true);
    LabelPatternError->hide();
    auto* patternRow = new QHBoxLayout;
    patternRow->addWidget(EditPattern);
    patternRow->addWidget(BtnPattern);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(EditFilter);
    layout->addWidget(ListChapters);
    layout->addLayout(patternRow);
    layout->addWidget(LabelPatternError);
    EditFilter->installEventFilter(this);
    connect(EditFilter, &QLineEdit::textChanged, this, &TFormChapters::FilterChanged);
    connect(ListChapters, &QListWidget::itemActivated, this, &TFormChapters::ItemChosen);
    connect(BtnPattern, &QPushButton::clicked, this, &TFormChapters::BtnPatternClick);
    connect(EditPattern, &QLineEdit::returnPressed, this, &TFormChapters::BtnPatternClick);
}

void TFormChapters::SetChapters(const std::vector<ChapterRow>& rows, int current) {
    ListChapters->clear();
    int top = 2;
    for (const ChapterRow& row : rows)
        top = std::min(top, row.Level);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const QString indent(std::max(0, rows[i].Level - top) * 2, QChar(0x3000));
        auto* item = new QListWidgetItem(indent + QString::fromStdString(rows[i].Title));
        item->setData(RowRole, static_cast<int>(i));
        ListChapters->addItem(item);
    }
    if (current >= 0 && current < ListChapters->count()) {
        ListChapters->setCurrentRow(current);
        ListChapters->scrollToItem(ListChapters->currentItem(), QAbstractItemView::PositionAtCenter);
    }
    FilterChanged(EditFilter->text());
}

void TFormChapters::SetPattern(const std::string& utf8) {
    EditPattern->setText(QString::fromStdString(utf8));
}

int TFormChapters::Chosen() const {
    const QListWidgetItem* item = ListChapters->currentItem();
    return item && !item->isHidden() ? item->data(RowRole).toInt() : -1;
}

void TFormChapters::FilterChanged(const QString& text) {
    const QString wanted = text.trimmed();
    for (int i = 0; i < ListChapters->count(); ++i) {
        QListWidgetItem* item = ListChapters->item(i);
        item->setHidden(!wanted.isEmpty() && !item->text().contains(wanted, Qt::CaseInsensitive));
    }
    if (!ListChapters->currentItem() || ListChapters->currentItem()->isHidden())
        SelectVisible(+1);
}

// The first shown row from the current one on in the direction of `step`.
void TFormChapters::SelectVisible(int step) {
    const int count = ListChapters->count();
    int row = ListChapters->currentRow();
    const bool fromStart = row < 0 || ListChapters->item(row)->isHidden();
    for (int i = fromStart ? 0 : row + step; i >= 0 && i < count; i += fromStart ? 1 : step) {
        if (!ListChapters->item(i)->isHidden()) {
            ListChapters->setCurrentRow(i);
            return;
        }
    }
}

// The filter field keeps the focus: the arrow keys move in the list, Enter chooses.
bool TFormChapters::eventFilter(QObject* watched, QEvent* event) {
    if (watched == EditFilter && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            SelectVisible(key == Qt::Key_Up ? -1 : +1);
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ItemChosen(ListChapters->currentItem());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFormChapters::ItemChosen(QListWidgetItem* item) {
    if (item && !item->isHidden())
        accept();
}

void TFormChapters::BtnPatternClick() {
    if (!ApplyPattern)
        return;
    const PatternResult result = ApplyPattern(EditPattern->text().trimmed().toStdString());
    LabelPatternError->setVisible(!result.Valid);
    if (!result.Valid) {
        LabelPatternError->setText(QString::fromUtf8(BadChapterPatternText));
        return;
    }
    SetChapters(result.Rows, 0);
}

void TFormChapters::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    EditFilter->setFocus();
}
