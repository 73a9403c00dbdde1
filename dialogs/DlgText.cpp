#include "DlgText.h"

#include "archive/FilePreview.h"
#include "text/Gb2Big5.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QCompleter>
#include <QFileSystemModel>
#include <QFrame>
#include <QGridLayout>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

// The preview area of the dialog template: 112 dialog units of an 8-point face, 1.5 pixels each.
constexpr int TextPanelWidth = 168;
constexpr int PosPanelWidth = 5;
constexpr int CheckPanelHeight = 25;
constexpr int TextPanelTop = 4;
const char* const Big5Caption = "&BIG5码";

struct FilterRow {
    const char* Caption;
    const char* Patterns;
};

constexpr FilterRow OpenFilters[] = {
    {"所有小说文件", "*.txt;*.htm;*.html;*.rtf;*.ini;*.Zip;*.gb;*.blf"},
    {"文本文件(*.txt)", "*.txt"},
    {"HTML文件(*.htm, *.html)", "*.htm;*.html"},
    {"RTF文件(*.rtf)", "*.rtf"},
    {"INI文件(*.ini)", "*.ini"},
    {"Zip文件(*.Zip)", "*.Zip"},
    {"GB文件(*.gb)", "*.gb"},
    {"书库文件(*.blf)", "*.blf"},
    {"所有文件(*.*)", "*"},
};

// Qt reads a filter's patterns from its last parentheses and, with HideNameFilterDetails, shows
// what stands before them: "文本文件(*.txt) (*.txt)" reads *.txt and shows "文本文件(*.txt)".
QString QtFilter(const QString& caption, QString patterns) {
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    return caption + QStringLiteral(" (") + patterns + QLatin1Char(')');
}

} // namespace

QStringList OpenDialogFilters() {
    QStringList filters;
    for (const FilterRow& row : OpenFilters)
        filters << QtFilter(QString::fromUtf8(row.Caption), QString::fromUtf8(row.Patterns));
    return filters;
}

TOpenTextDialog::TOpenTextDialog(QWidget* parent)
    : QFileDialog(parent), TextPanel(new QFrame), PosPanel(new QWidget(TextPanel)),
      CheckPanel(new QWidget(TextPanel)), CheckBoxBig5(new QCheckBox(CheckPanel)),
      MemoText(new QPlainTextEdit(TextPanel)) {
    setOption(QFileDialog::DontUseNativeDialog);
    setOption(QFileDialog::HideNameFilterDetails);
    BuildPreviewPanel();
    // The dialog reports a new current file only for clicks and arrow keys; a name typed into it
    // selects the file without making it current. The selection of its views is what counts.
    if (auto* view = findChild<QAbstractItemView*>(QStringLiteral("listView")))
        connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this, view] { SelectionChanged(*view->selectionModel()); });
    else
        connect(this, &QFileDialog::currentChanged, this, &TOpenTextDialog::DoSelectionChange);
    connect(CheckBoxBig5, &QCheckBox::clicked, this, &TOpenTextDialog::CheckBoxBig5Click);
}

void TOpenTextDialog::BuildPreviewPanel() {
    TextPanel->setObjectName(QStringLiteral("TextPanel"));
    TextPanel->setFrameShape(QFrame::NoFrame);
    TextPanel->setFixedWidth(TextPanelWidth);
    QFont font(QStringLiteral("宋体"));
    font.setPointSize(9);
    TextPanel->setFont(font);
    PosPanel->setFixedWidth(PosPanelWidth);
    CheckPanel->setFixedHeight(CheckPanelHeight);
    CheckBoxBig5->setObjectName(QStringLiteral("CheckBoxBig5"));
    CheckBoxBig5->setGeometry(0, 2, 100, 20);
    MemoText->setObjectName(QStringLiteral("MemoText"));
    MemoText->setReadOnly(true);
    MemoText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoText->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    auto* column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(MemoText, 1);
    column->addWidget(CheckPanel);
    auto* row = new QHBoxLayout(TextPanel);
    row->setContentsMargins(0, TextPanelTop, 0, 0);
    row->setSpacing(0);
    row->addLayout(column, 1);
    row->addWidget(PosPanel);
    setTabOrder(PosPanel, CheckPanel);
    setTabOrder(CheckPanel, MemoText);

    // Qt's dialog lays its controls out in a grid; the preview takes a column of its own at the
    // right, from the top to the bottom.
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(TextPanel, 0, grid->columnCount(), grid->rowCount(), 1);
    else
        TextPanel->setParent(this);
}

void TOpenTextDialog::PrepareExecute() {
    MemoText->clear();
    CheckBoxBig5->setText(QString::fromUtf8(Big5Caption));
}

bool TOpenTextDialog::Execute() {
    PrepareExecute();
    return exec() == QDialog::Accepted;
}

void TOpenTextDialog::DoSelectionChange(const QString& path) {
    Preview.clear();
    MemoText->clear();
    if (!path.isEmpty())
        Preview = ::PreviewText(path.toStdString());
    CheckBoxBig5Click();
    TextPanel->repaint();
}

// The file previewed: the current one when it is selected, else the first selected.
void TOpenTextDialog::SelectionChanged(const QItemSelectionModel& selection) {
    const QModelIndex current = selection.currentIndex();
    QModelIndex shown = selection.isRowSelected(current.row(), current.parent())
                            ? current
                            : selection.selectedRows().value(0);
    DoSelectionChange(shown.data(QFileSystemModel::FilePathRole).toString());
}

void TOpenTextDialog::CheckBoxBig5Click() {
    const std::string shown = CheckBoxBig5->isChecked() ? Big5ToGb(Preview) : Preview;
    MemoText->setPlainText(QString::fromStdU16String(PreviewDisplay(shown)));
}

void TOpenTextDialog::done(int result) {
    QFileDialog::done(result);
    QToolTip::hideText();
    // Confirming with Enter while the name completer's list is open can leave that list on the
    // screen after the dialog has gone.
    if (auto* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        if (QCompleter* completer = edit->completer())
            completer->popup()->hide();
}

TSaveTextDialog::TSaveTextDialog(QWidget* parent) : TOpenTextDialog(parent) {
    setAcceptMode(QFileDialog::AcceptSave);
}
