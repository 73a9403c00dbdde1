#include "LabelInput.h"

#include "DialogFont.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

TFormLabelInput::TFormLabelInput(QWidget* parent)
    : QDialog(parent), GroupBox1(new QGroupBox(QStringLiteral("输入书签标识"), this)),
      EditLabelInput(new QLineEdit(GroupBox1)),
      BtnOk(new QPushButton(QStringLiteral("确定"), this)),
      BtnCancel(new QPushButton(QStringLiteral("取消"), this)) {
    setWindowTitle(QStringLiteral("添加书签"));
    setFont(DialogFont());
    setFixedSize(281, 85);
    GroupBox1->setGeometry(8, 4, 185, 73);
    EditLabelInput->setGeometry(10, 30, 165, 22);
    BtnOk->setGeometry(202, 14, 71, 25);
    BtnCancel->setGeometry(202, 48, 71, 25);
    BtnOk->setDefault(true);
    connect(BtnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormLabelInput::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    EditLabelInput->setFocus();
    EditLabelInput->selectAll();
}
