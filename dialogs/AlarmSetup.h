#pragma once
// The four alarms: for each slot whether it is on, the time of day and the text it shows. OK
// writes them into the in-memory settings; Cancel changes nothing.
#include "records/Settings.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QLineEdit;
class QTimeEdit;

class TFormAlarm : public QDialog {
    Q_OBJECT

public:
    TFormAlarm(Settings& setting, QWidget* parent = nullptr);

    struct SlotControls {
        QCheckBox* Enabled = nullptr;
        QTimeEdit* Time = nullptr;
        QLineEdit* Text = nullptr;
    };
    std::array<SlotControls, 4> Slots;

    void accept() override;

private:
    Settings& Setting;
};
