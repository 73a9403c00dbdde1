#include "ClearNewForm.h"

#include "ArrowButton.h"
#include "DialogFont.h"
#include "text/Decimal.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

TFormClearNew::TFormClearNew(int entryCount, QWidget* parent)
    : QDialog(parent), EntryCount(entryCount),
      GroupBox1(new QGroupBox(QStringLiteral("清除方式"), this)),
      RadioBtnClearPart(new QRadioButton(QStringLiteral("清除部分文件(&P)"), GroupBox1)),
      RadioBtnClearAll(new QRadioButton(QStringLiteral("清除全部文件(&A)"), GroupBox1)),
      Label1(new QLabel(QStringLiteral("序号从(&F)"), GroupBox1)),
      EditFromIndex(new QLineEdit(QStringLiteral("1"), GroupBox1)),
      BtnFromNext(new TArrowButton(true, GroupBox1)),
      BtnFromPrev(new TArrowButton(false, GroupBox1)),
      Label2(new QLabel(QStringLiteral("到(&T)"), GroupBox1)),
      EditToIndex(new QLineEdit(QStringLiteral("1"), GroupBox1)),
      BtnToNext(new TArrowButton(true, GroupBox1)), BtnToPrev(new TArrowButton(false, GroupBox1)),
      BtnOk(new QPushButton(QStringLiteral("确定"), this)),
      BtnCancel(new QPushButton(QStringLiteral("取消"), this)) {
    setWindowTitle(QStringLiteral("清除最新文件"));
    setFont(DialogFont());
    setFixedSize(262, 107);
    GroupBox1->setGeometry(6, 4, 188, 97);
    RadioBtnClearPart->setGeometry(10, 18, 150, 18);
    RadioBtnClearAll->setGeometry(10, 40, 150, 18);
    RadioBtnClearPart->setChecked(true);
    Label1->setGeometry(8, 68, 58, 16);
    EditFromIndex->setGeometry(66, 66, 28, 20);
    BtnFromNext->setGeometry(94, 66, 12, 10);
    BtnFromPrev->setGeometry(94, 76, 12, 10);
    Label2->setGeometry(110, 68, 32, 16);
    EditToIndex->setGeometry(142, 66, 28, 20);
    BtnToNext->setGeometry(170, 66, 12, 10);
    BtnToPrev->setGeometry(170, 76, 12, 10);
    Label1->setBuddy(EditFromIndex);
    Label2->setBuddy(EditToIndex);
    BtnOk->setGeometry(200, 14, 56, 25);
    BtnCancel->setGeometry(200, 48, 56, 25);
    BtnOk->setDefault(true);
    setTabOrder(RadioBtnClearPart, RadioBtnClearAll);

    connect(RadioBtnClearPart, &QRadioButton::toggled, this, &TFormClearNew::EnabledInput);
    connect(EditFromIndex, &QLineEdit::textChanged, EditToIndex, &QLineEdit::setText);
    connect(BtnFromNext, &QAbstractButton::clicked, this, [this] { Step(EditFromIndex, +1); });
    connect(BtnFromPrev, &QAbstractButton::clicked, this, [this] { Step(EditFromIndex, -1); });
    connect(BtnToNext, &QAbstractButton::clicked, this, [this] { Step(EditToIndex, +1); });
    connect(BtnToPrev, &QAbstractButton::clicked, this, [this] { Step(EditToIndex, -1); });
    connect(BtnOk, &QPushButton::clicked, this, &TFormClearNew::BtnOkClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    EditFromIndex->installEventFilter(this);
    EditToIndex->installEventFilter(this);
}

ClearNewChoice TFormClearNew::Choice() const {
    const auto value = [](const QLineEdit* field) {
        return ParseDecimal(field->text().toStdString()).value_or(1);
    };
    return {RadioBtnClearAll->isChecked(), value(EditFromIndex), value(EditToIndex)};
}

void TFormClearNew::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    EditFromIndex->setText(QStringLiteral("1"));
    EditToIndex->setText(QStringLiteral("1"));
    EnabledInput();
    EditFromIndex->setFocus();
}

void TFormClearNew::EnabledInput() {
    const bool part = RadioBtnClearPart->isChecked();
    for (QWidget* w :
         std::initializer_list<QWidget*>{Label1, Label2, EditFromIndex, EditToIndex, BtnFromNext,
                                         BtnFromPrev, BtnToNext, BtnToPrev})
        w->setEnabled(part);
}

void TFormClearNew::Step(QLineEdit* field, int delta) {
    field->setText(QString::number(StepDecimal(field->text().toStdString(), delta, EntryCount)));
}

// Setting the From text copies it into To, so To is set after it.
void TFormClearNew::BtnOkClick() {
    const ClearNewFields fields = CheckClearNewFields(
        EditFromIndex->text().toStdString(), EditToIndex->text().toStdString(), EntryCount);
    EditFromIndex->setText(QString::fromStdString(fields.From));
    EditToIndex->setText(QString::fromStdString(fields.To));
    if (fields.Close)
        accept();
}

bool TFormClearNew::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* field = static_cast<QLineEdit*>(watched);
    switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        BtnOk->click();
        return true;
    case Qt::Key_Escape:
        BtnCancel->click();
        return true;
    case Qt::Key_Up:
        Step(field, +1);
        return true;
    case Qt::Key_Down:
        Step(field, -1);
        return true;
    default:
        return false;
    }
}
