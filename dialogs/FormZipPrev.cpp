#include "FormZipPrev.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int FormWidth = 367;
constexpr int FormHeight = 334;
constexpr int FileNameColumnWidth = 150;
constexpr int DirColumnWidth = 181;
constexpr int ButtonStripHeight = 28;
constexpr int FontPixels = 12;

} // namespace

TFormZipPrev::TFormZipPrev(std::string archive, QWidget* parent)
    : QDialog(parent), FileList(new QTreeWidget), CheckBoxList(new QCheckBox),
      BtnOk(new QPushButton(QStringLiteral("确定"))),
      BtnCancel(new QPushButton(QStringLiteral("取消"))), Archive(std::move(archive)) {
    setObjectName(QStringLiteral("FormZipPrev"));
    setWindowTitle(QStringLiteral("选择小说文件"));
    QFont face(QStringLiteral("宋体"));
    face.setPixelSize(FontPixels);
    setFont(face);
    resize(FormWidth, FormHeight);

    FileList->setObjectName(QStringLiteral("FileList"));
    FileList->setHeaderLabels({QStringLiteral("文件名"), QStringLiteral("目录名")});
    FileList->setColumnWidth(0, FileNameColumnWidth);
    FileList->setColumnWidth(1, DirColumnWidth);
    FileList->setRootIsDecorated(false);
    FileList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    FileList->setSelectionBehavior(QAbstractItemView::SelectRows);
    FileList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(FileList, &QTreeWidget::itemDoubleClicked, this, &TFormZipPrev::BtnOkClick);

    CheckBoxList->setObjectName(QStringLiteral("CheckBoxList"));
    CheckBoxList->setText(QStringLiteral("显示所有文件"));
    CheckBoxList->setChecked(true);
    connect(CheckBoxList, &QCheckBox::clicked, this, &TFormZipPrev::FormShow);
    BtnOk->setObjectName(QStringLiteral("BtnOk"));
    BtnOk->setDefault(true);
    connect(BtnOk, &QPushButton::clicked, this, &TFormZipPrev::BtnOkClick);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* strip = new QWidget;
    strip->setFixedHeight(ButtonStripHeight);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(4, 0, 4, 0);
    row->addWidget(CheckBoxList);
    row->addStretch(1);
    row->addWidget(BtnOk);
    row->addWidget(BtnCancel);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(FileList, 1);
    column->addWidget(strip);
}

void TFormZipPrev::showEvent(QShowEvent* event) {
    if (const QScreen* screen = this->screen())
        move(screen->geometry().center() - rect().center());
    FormShow();
    QDialog::showEvent(event);
}

void TFormZipPrev::FormShow() {
    FileList->clear();
    const auto entries = ListZipEntries(Archive);
    Rows = entries ? ZipRowsFor(*entries, CheckBoxList->isChecked()) : std::vector<ZipRow>{};
    for (const ZipRow& row : Rows)
        new QTreeWidgetItem(
            FileList, {QString::fromStdString(row.FileName), QString::fromStdString(row.Dir)});
}

void TFormZipPrev::BtnOkClick() {
    std::vector<bool> selected(Rows.size());
    for (int i = 0; i < FileList->topLevelItemCount(); ++i)
        selected[static_cast<std::size_t>(i)] = FileList->topLevelItem(i)->isSelected();
    ChosenRows = ChosenEntries(Archive, Rows, selected);
    done(ChosenRows.empty() ? QDialog::Rejected : QDialog::Accepted);
}

ZipChoice ChooseZipEntries(const std::string& archive, QWidget* parent,
                           const std::function<int(QDialog&)>& run) {
    // A damaged archive (one cut short loses the directory at its end) is said to be so,
    // rather than shown as an empty chooser.
    if (!ListZipEntries(archive))
        return {{}, WarningMessage(OpenFailedText(archive, ArchiveFailureReason(archive)))};
    TFormZipPrev form(archive, parent);
    if (run(form) != QDialog::Accepted)
        return {};
    return {form.Chosen(), std::nullopt};
}
