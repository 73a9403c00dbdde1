#pragma once
// The bookmark caption dialog: one line of text in the group "输入书签标识", OK and Cancel. The
// caller sets the window caption ("添加书签" or "修改书签") and the preset text.
#include <QDialog>

class QGroupBox;
class QLineEdit;
class QPushButton;

class TFormLabelInput : public QDialog {
    Q_OBJECT

public:
    explicit TFormLabelInput(QWidget* parent = nullptr);

    QGroupBox* const GroupBox1;
    QLineEdit* const EditLabelInput;
    QPushButton* const BtnOk;
    QPushButton* const BtnCancel;

protected:
    void showEvent(QShowEvent* event) override;
};
