// The settings dialog's editors for automatic reading, and its alarm button.
#include "AlarmSetup.h"
#include "Setup.h"
#include "reader/AutoRead.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QSpinBox>

QWidget* TFormSetup::BuildAutoReadGroup() {
    CheckBoxAutoReadPaced = new QCheckBox(QStringLiteral("按阅读速度翻页"));
    CheckBoxAutoReadPaced->setObjectName(QStringLiteral("CheckBoxAutoReadPaced"));
    // 0 is the stored "not set", which reads as the default interval.
    SpinAutoPageTurnInterval = new QSpinBox;
    SpinAutoPageTurnInterval->setObjectName(QStringLiteral("SpinAutoPageTurnInterval"));
    SpinAutoPageTurnInterval->setRange(0, MaxTurnSeconds);
    SpinAutoPageTurnInterval->setSpecialValueText(QString::number(DefaultTurnSeconds));
    SpinReadingSpeed = new QSpinBox;
    SpinReadingSpeed->setObjectName(QStringLiteral("SpinReadingSpeed"));
    SpinReadingSpeed->setRange(MinReadingSpeed, MaxReadingSpeed);
    auto* group = new QGroupBox(QStringLiteral("自动阅读"));
    auto* form = new QFormLayout(group);
    form->addRow(CheckBoxAutoReadPaced);
    form->addRow(QStringLiteral("翻页时间(秒):"), SpinAutoPageTurnInterval);
    form->addRow(QStringLiteral("阅读速度(字/分):"), SpinReadingSpeed);
    return group;
}

void TFormSetup::FillAutoRead() {
    CheckBoxAutoReadPaced->setChecked(Setting.AutoReadPaced);
    SpinAutoPageTurnInterval->setValue(Setting.AutoPageTurnInterval);
    SpinReadingSpeed->setValue(Setting.ReadingSpeed);
    AlarmCopy = Setting;
}

void TFormSetup::StoreAutoRead() {
    Setting.AutoReadPaced = CheckBoxAutoReadPaced->isChecked();
    Setting.AutoPageTurnInterval = SpinAutoPageTurnInterval->value();
    Setting.ReadingSpeed = SpinReadingSpeed->value();
    Setting.AlarmEnabled = AlarmCopy.AlarmEnabled;
    Setting.AlarmTime = AlarmCopy.AlarmTime;
    Setting.AlarmText = AlarmCopy.AlarmText;
}

void TFormSetup::BtnChangeAlarmClick() {
    TFormAlarm alarms(AlarmCopy, this);
    alarms.exec();
}
