#pragma once
// The dialog of "清除阅读记录...": clear a range of positions of the recent list, or everything.
// The From and To fields are stepped by their arrow buttons and the Up and Down keys within
// 1..EntryCount; OK checks them and stays open while one is not a number.
#include "records/ClearNew.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TArrowButton;

class TFormClearNew : public QDialog {
    Q_OBJECT

public:
    explicit TFormClearNew(int entryCount, QWidget* parent = nullptr);

    // What was chosen; read after the dialog closed with OK.
    ClearNewChoice Choice() const;

    int EntryCount;
    QGroupBox* const GroupBox1;
    QRadioButton* const RadioBtnClearPart;
    QRadioButton* const RadioBtnClearAll;
    QLabel* const Label1;
    QLineEdit* const EditFromIndex;
    TArrowButton* const BtnFromNext;
    TArrowButton* const BtnFromPrev;
    QLabel* const Label2;
    QLineEdit* const EditToIndex;
    TArrowButton* const BtnToNext;
    TArrowButton* const BtnToPrev;
    QPushButton* const BtnOk;
    QPushButton* const BtnCancel;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void EnabledInput();
    void BtnOkClick();
    // `field` is the From or To edit that a button or key acts on.
    void Step(QLineEdit* field, int delta);
};
