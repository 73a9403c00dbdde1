#include "Search.h"

#include "DialogFont.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

TFormSearch::TFormSearch(QWidget* parent)
    : QDialog(parent), Label1(new QLabel(QStringLiteral("查找目标(&N):"), this)),
      EditFindText(new QComboBox(this)),
      CheckBoxCaps(new QCheckBox(QStringLiteral("区分大小写(&C)"), this)),
      BtnOk(new QPushButton(QStringLiteral("确定"), this)),
      BtnCancel(new QPushButton(QStringLiteral("取消"), this)) {
    setWindowTitle(QStringLiteral("查找"));
    setFont(DialogFont());
    EditFindText->setEditable(true);
    // The history grows only through the OK button, without case-only duplicates.
    EditFindText->setInsertPolicy(QComboBox::NoInsert);
    EditFindText->setMinimumWidth(200);
    // No inline completion: it would take the first Enter after the text was selected on show
    // for accepting a completion, and could change the letter case the reader typed.
    EditFindText->setCompleter(nullptr);
    Label1->setBuddy(EditFindText);
    BtnOk->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(EditFindText, 0, 1);
    grid->addWidget(CheckBoxCaps, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOk);
    buttons->addWidget(BtnCancel);
    grid->addLayout(buttons, 2, 0, 1, 2);
    setFixedSize(sizeHint());

    connect(BtnOk, &QPushButton::clicked, this, &TFormSearch::BtnOkClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TFormSearch::FindText() const {
    return EditFindText->currentText();
}

bool TFormSearch::MatchCase() const {
    return CheckBoxCaps->isChecked();
}

QStringList TFormSearch::History() const {
    QStringList list;
    for (int i = 0; i < EditFindText->count(); ++i)
        list << EditFindText->itemText(i);
    return list;
}

void TFormSearch::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    EditFindText->setFocus();
    EditFindText->lineEdit()->selectAll();
}

void TFormSearch::BtnOkClick() {
    const QString text = FindText();
    if (!text.isEmpty() && !History().contains(text, Qt::CaseInsensitive))
        EditFindText->addItem(text);
    // Adding the first item makes it current; the text typed stays what was typed.
    EditFindText->setEditText(text);
    accept();
}
