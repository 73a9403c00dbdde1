#include "AlarmSetup.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {

const QString TimeFormat = QStringLiteral("HH:mm:ss");

} // namespace

TFormAlarm::TFormAlarm(Settings& setting, QWidget* parent) : QDialog(parent), Setting(setting) {
    setWindowTitle(QStringLiteral("定时提醒"));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("时间")), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("显示内容")), 0, 2);
    for (int i = 0; i < 4; ++i) {
        SlotControls& slot = Slots[i];
        const QString n = QString::number(i + 1);
        slot.Enabled = new QCheckBox(QStringLiteral("提醒") + n);
        slot.Enabled->setObjectName(QStringLiteral("CheckBoxAlarm") + n);
        slot.Enabled->setChecked(Setting.AlarmEnabled[i]);
        slot.Time = new QTimeEdit;
        slot.Time->setObjectName(QStringLiteral("EditAlarmTime") + n);
        slot.Time->setDisplayFormat(TimeFormat);
        slot.Time->setTime(QTime::fromString(QString::fromStdString(Setting.AlarmTime[i]), TimeFormat));
        slot.Text = new QLineEdit(QString::fromStdString(Setting.AlarmText[i]));
        slot.Text->setObjectName(QStringLiteral("EditAlarmText") + n);
        slot.Text->setMinimumWidth(220);
        grid->addWidget(slot.Enabled, i + 1, 0);
        grid->addWidget(slot.Time, i + 1, 1);
        grid->addWidget(slot.Text, i + 1, 2);
    }
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

void TFormAlarm::accept() {
    for (int i = 0; i < 4; ++i) {
        const SlotControls& slot = Slots[i];
        Setting.AlarmEnabled[i] = slot.Enabled->isChecked();
        Setting.AlarmTime[i] = slot.Time->time().toString(TimeFormat).toStdString();
        Setting.AlarmText[i] = slot.Text->text().toStdString();
    }
    QDialog::accept();
}
