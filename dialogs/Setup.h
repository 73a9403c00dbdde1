#pragma once
// The settings dialog: the one place where the reader edits the persisted options. It edits
// the in-memory settings only, and marks in the change flags what the user touched, so that the
// book re-applies just that work (Init_Setup) when the dialog closes with OK.
#include "SetupRules.h"
#include "records/Settings.h"

#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

class TFormSetup : public QDialog {
    Q_OBJECT

public:
    // The result of the defaults button: the caller clears the first-run mark.
    static constexpr int DefaultResult = 4;

    // Facts about the open document, shown on the first tab.
    struct Info {
        std::string DocumentName; // empty for the built-in help text
        int PageCount = 0;
        std::int64_t CharCount = 0;
        int CurrentPage = 0;
    };

    // The dialogs the buttons open; each gives nothing when the user cancels. The font and
    // picture choosers are the caller's (it knows how the book turns a stored font into a face
    // and how it decodes pictures); without one the button does nothing. The colour chooser
    // defaults to the standard colour dialog.
    struct Choosers {
        std::function<std::optional<FontSpec>(const FontSpec&, QWidget*)> Font;
        std::function<std::optional<int>(int colorValue, QWidget*)> Color;
        std::function<std::optional<std::string>(const std::string& file, QWidget*)> Picture;
    };

    TFormSetup(Settings& setting, ChangeFlags& flags, const Info& info, Choosers choosers,
               QWidget* parent = nullptr);

    // Cancel, Escape and the window's close: nothing is stored and every change flag is cleared.
    void reject() override;

protected:
    // Centred on the screen, not over the book.
    void showEvent(QShowEvent* event) override;

public:
    // The controls, named as the options they edit.
    struct PageNumberControls {
        QComboBox* Be = nullptr;
        QComboBox* Af = nullptr;
        std::array<QRadioButton*, 5> Loc{}; // left, middle, right; top, bottom
        QCheckBox* Count = nullptr;
    };
    QTabWidget* PageControl;
    QLineEdit* EditBookLeft;
    QLineEdit* EditBookTop;
    QLineEdit* EditBookWidth;
    QLineEdit* EditBookHeight;
    QLineEdit* EditFilename;
    QLabel* LabelYeCount;
    QLabel* LabelWordCount;
    QLabel* LabelYeCurrent;
    QCheckBox* CheckBoxMove;
    QCheckBox* CheckBoxResize;
    QCheckBox* CheckBoxPageMove;
    QCheckBox* CheckBoxPageYe;
    QCheckBox* CheckBoxMax;
    QCheckBox* CheckBoxBIG5;
    QCheckBox* CheckBoxGB;
    QCheckBox* CheckBoxHtml;
    QCheckBox* CheckBoxChap;
    QCheckBox* CheckBoxHangD;
    QComboBox* ComboBoxPunct; // 标点避头尾: its items in the order of PunctuationRule
    QPushButton* BtnUnderlineColor;
    QSpinBox* SpinUnderlineOffset;
    QSpinBox* SpinUnderlineWidth;
    std::array<PageNumberControls, 2> Ye;
    QCheckBox* CheckBoxShowTime;
    QPushButton* BtnChangeAlarm;
    QCheckBox* CheckBoxAutoReadPaced;
    QSpinBox* SpinAutoPageTurnInterval;
    QSpinBox* SpinReadingSpeed;
    QCheckBox* CheckBoxFlat;
    QCheckBox* CheckBoxViewCtrl;
    QCheckBox* CheckBoxBackground;
    QLineEdit* EditBackground;
    QPushButton* BtnChangeBackground;
    QCheckBox* CheckBoxChangeItem;
    QCheckBox* CheckBoxOpenCloseFile;
    QCheckBox* CheckBoxClearLabel;
    QCheckBox* CheckBoxClearNewItem;
    QCheckBox* CheckBoxAutoGB;
    QCheckBox* CheckBoxYeView;
    QCheckBox* CheckBoxRunningHead;
    QPushButton* BtnChangeYeFont;
    QPushButton* BtnChangePageFont;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;
    QPushButton* BtnDefault;

    // True while the automatic conversion box is in its GB state.
    bool AutoGbState() const { return AutoGb; }

private:
    QWidget* BuildBookTab(const Info& info);
    QWidget* BuildPageTab();
    QWidget* BuildYeTab();
    QWidget* BuildSystemTab();
    QWidget* BuildPageNumberGroup(int index);
    void Fill();
    void ConnectChanges();
    void Mark(SetupGroup group);
    void UpdateEnabling();
    void CheckBoxAutoGBClick();
    void ShowAutoGbCaption();
    void ChooseFont(FontSpec& font, SetupGroup group);
    void ChooseUnderlineColor();
    void ChooseBackground();
    void BtnDefaultClick();
    void BtnOkClick();
    void StoreOptions();
    // Automatic reading and the alarms (SetupAutoRead.cpp).
    QWidget* BuildAutoReadGroup();
    void FillAutoRead();
    void StoreAutoRead();
    void BtnChangeAlarmClick();

    Settings& Setting;
    ChangeFlags& Flags;
    Choosers Choose;
    bool AutoGb = true;
    FontSpec PageNumberFont;
    FontSpec PageFont;
    int UnderlineColor;
    std::string BackgroundImageFile;
    std::string BookmarkImageFile;
    std::array<std::string, 2> PagePosition;
    bool UnderlineOffsetEdited = false;
    bool UnderlineWidthEdited = false;
    Settings AlarmCopy; // what the alarm dialog edits, stored on OK
};
