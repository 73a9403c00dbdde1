#pragma once
// The search dialog: the text to find, typed in a combo box whose list is this run's history,
// and whether letter case matters. It lives for the whole run, so the text, the history and the
// case option stay as the reader left them; nothing of it is stored.
#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

class TFormSearch : public QDialog {
    Q_OBJECT

public:
    explicit TFormSearch(QWidget* parent = nullptr);

    QString FindText() const;
    bool MatchCase() const;
    QStringList History() const;

    QLabel* const Label1;
    QComboBox* const EditFindText;
    QCheckBox* const CheckBoxCaps;
    QPushButton* const BtnOk;
    QPushButton* const BtnCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BtnOkClick();
};
