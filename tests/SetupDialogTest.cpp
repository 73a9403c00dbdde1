// test-links: mojuan_dialogs mojuan_window
#include "DialogTestSupport.h"
#include "RecordingPrompter.h"
#include "StoreTestSupport.h"
#include "dialogs/AlarmSetup.h"
#include "dialogs/Setup.h"
#include "records/SettingsStore.h"
#include "window/PageFont.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimeEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Dialog {
    RecordingPrompter prompter;
    ScopedPrompter scope{prompter};
    Settings setting;
    ChangeFlags flags; // as after start-up: the picture flag still set
    std::optional<FontSpec> nextFont;
    std::unique_ptr<TFormSetup> form;

    void Open(TFormSetup::Info info = {"/books/a.txt", 121, 2000, 7}) {
        TFormSetup::Choosers choosers;
        choosers.Font = [this](const FontSpec&, QWidget*) { return nextFont; };
        choosers.Color = [](int, QWidget*) { return std::optional<int>(0xFF0000); };
        choosers.Picture = [](const std::string&, QWidget*) {
            return std::optional<std::string>("/pictures/paper.jpg");
        };
        form = std::make_unique<TFormSetup>(setting, flags, info, choosers);
        form->show();
    }
    ChangeFlags Only(SetupGroup group) {
        ChangeFlags expected;
        expected.Clear();
        MarkChanged(expected, group);
        return expected;
    }
    ChangeFlags None() { return Only(SetupGroup::None); }
};

TEST(SetupDialogTest, OpensWithTheSettingsAndTheDocumentsFacts) {
    Dialog d;
    d.setting.BookLeft = -20;
    d.setting.MoveBook = false;
    d.setting.ShowPageNumbers = false;
    d.setting.PageNumberPosition = {"9x", "21"};
    d.setting.FlatButtons = true;
    d.setting.UnderlineOffset = 60; // beyond the spin boxes' ranges
    d.setting.UnderlineWidth = 30;
    d.Open();
    TFormSetup& f = *d.form;
    EXPECT_EQ(f.windowTitle(), QStringLiteral("设置"));
    EXPECT_EQ(f.PageControl->tabText(0), QStringLiteral("书本设置 "));
    EXPECT_EQ(f.PageControl->tabText(3), QStringLiteral("系统设置  "));
    EXPECT_EQ(f.PageControl->currentIndex(), 0);
    EXPECT_EQ(f.EditBookLeft->text(), QStringLiteral("-20"));
    EXPECT_EQ(f.EditBookWidth->text(), QStringLiteral("596"));
    EXPECT_EQ(f.EditFilename->text(), QStringLiteral("/books/a.txt"));
    EXPECT_EQ(f.LabelYeCount->text(), QStringLiteral("共121页"));
    EXPECT_EQ(f.LabelWordCount->text(), QStringLiteral("共2000字"));
    EXPECT_EQ(f.LabelYeCurrent->text(), QStringLiteral("第7页"));
    EXPECT_FALSE(f.CheckBoxPageMove->isEnabled());
    EXPECT_FALSE(f.BtnChangeYeFont->isEnabled());
    EXPECT_TRUE(f.BtnChangePageFont->isFlat());
    // A placement the buttons cannot show is shown as the default's digits where it is bad.
    EXPECT_TRUE(f.Ye[0].Loc[0]->isChecked());
    EXPECT_TRUE(f.Ye[0].Loc[4]->isChecked());
    EXPECT_TRUE(f.Ye[1].Loc[1]->isChecked());
    EXPECT_TRUE(f.Ye[1].Loc[3]->isChecked());
    EXPECT_EQ(f.CheckBoxAutoGB->text(), QStringLiteral("自动转换为GB码"));
    EXPECT_TRUE(f.BtnOk->isDefault());
    EXPECT_EQ(d.flags, d.None());
    QTest::mouseClick(f.BtnOk, Qt::LeftButton);
    EXPECT_EQ(d.setting.PageNumberPosition[0], "12");
    EXPECT_EQ(d.setting.UnderlineOffset, 60); // untouched values are kept as stored
    EXPECT_EQ(d.setting.UnderlineWidth, 30);
    EXPECT_EQ(d.flags, d.None());

    Dialog help;
    help.Open({"", 3, 10, 1});
    EXPECT_EQ(help.form->EditFilename->text(), QStringLiteral("说明文件"));
}

TEST(SetupDialogTest, EachControlMarksWhatItChanges) {
    const auto clicking = [](auto pick) {
        Dialog d;
        d.Open();
        QAbstractButton* control = pick(*d.form);
        d.form->PageControl->setCurrentWidget(
            d.form->PageControl->widget(0)); // clicks reach hidden tabs' controls too
        control->click();
        return d.flags;
    };
    Dialog ref;
    EXPECT_EQ(clicking([](TFormSetup& f) { return f.CheckBoxMax; }), ref.Only(SetupGroup::Max));
    EXPECT_EQ(clicking([](TFormSetup& f) { return f.CheckBoxBIG5; }), ref.Only(SetupGroup::PageDo));
    EXPECT_EQ(clicking([](TFormSetup& f) { return f.CheckBoxChap; }), ref.Only(SetupGroup::PageDo));
    EXPECT_EQ(clicking([](TFormSetup& f) { return f.CheckBoxHangD; }), ref.Only(SetupGroup::Page));
    EXPECT_EQ(clicking([](TFormSetup& f) { return f.Ye[1].Loc[2]; }), ref.Only(SetupGroup::Ye));
    EXPECT_EQ(clicking([](TFormSetup& f) { return f.Ye[0].Count; }), ref.Only(SetupGroup::Ye));
    EXPECT_EQ(clicking([](TFormSetup& f) { return f.CheckBoxYeView; }), ref.Only(SetupGroup::Ye));
    EXPECT_EQ(clicking([](TFormSetup& f) { return f.CheckBoxViewCtrl; }),
              ref.Only(SetupGroup::Image));
    EXPECT_EQ(clicking([](TFormSetup& f) { return f.BtnChangeBackground; }),
              ref.Only(SetupGroup::Image));
    for (auto pick : {+[](TFormSetup& f) -> QAbstractButton* { return f.CheckBoxMove; },
                      +[](TFormSetup& f) -> QAbstractButton* { return f.CheckBoxShowTime; },
                      +[](TFormSetup& f) -> QAbstractButton* { return f.CheckBoxClearLabel; },
                      +[](TFormSetup& f) -> QAbstractButton* { return f.BtnUnderlineColor; }})
        EXPECT_EQ(clicking(pick), ref.None());

    Dialog typed;
    typed.Open();
    QTest::keyClicks(typed.form->EditBookLeft, "5");
    EXPECT_EQ(typed.flags, typed.None());
    QTest::keyClicks(typed.form->EditBookHeight, "0");
    EXPECT_EQ(typed.flags, typed.Only(SetupGroup::Window));
    Dialog prefix;
    prefix.Open();
    prefix.form->Ye[1].Be->setCurrentIndex(3);
    EXPECT_EQ(prefix.flags, prefix.Only(SetupGroup::Ye));
}

TEST(SetupDialogTest, MoveAndPageNumberBoxesEnableTheirDependents) {
    Dialog d;
    d.Open();
    TFormSetup& f = *d.form;
    ASSERT_TRUE(f.CheckBoxPageMove->isChecked());
    f.CheckBoxMove->click();
    EXPECT_FALSE(f.CheckBoxPageMove->isEnabled());
    EXPECT_FALSE(f.CheckBoxPageMove->isChecked());
    f.CheckBoxMove->click();
    EXPECT_TRUE(f.CheckBoxPageMove->isEnabled());
    EXPECT_FALSE(f.CheckBoxPageMove->isChecked());
    f.CheckBoxYeView->click();
    EXPECT_FALSE(f.BtnChangeYeFont->isEnabled());
    f.CheckBoxRunningHead->click();
    f.CheckBoxBIG5->click();
    f.CheckBoxGB->click();
    QTest::mouseClick(f.BtnOk, Qt::LeftButton);
    EXPECT_TRUE(d.setting.MoveBook);
    EXPECT_FALSE(d.setting.DragPageMovesBook);
    EXPECT_FALSE(d.setting.ShowPageNumbers);
    EXPECT_FALSE(d.setting.ShowRunningHead);
    EXPECT_TRUE(d.setting.ConvertBig5 && d.setting.ConvertGb); // both may be on
}

TEST(SetupDialogTest, AutomaticConversionBoxSwapsDirectionAndStaysChecked) {
    Dialog d;
    d.Open();
    TFormSetup& f = *d.form;
    f.CheckBoxAutoGB->click();
    EXPECT_TRUE(f.CheckBoxAutoGB->isChecked());
    EXPECT_EQ(f.CheckBoxAutoGB->text(), QStringLiteral("自动转换为BIG5码"));
    f.CheckBoxAutoGB->click();
    EXPECT_TRUE(f.CheckBoxAutoGB->isChecked());
    EXPECT_EQ(f.CheckBoxAutoGB->text(), QStringLiteral("自动转换为GB码"));
    f.BtnOk->click();
    EXPECT_TRUE(d.setting.AutoConvert);
    EXPECT_EQ(d.flags, d.Only(SetupGroup::PageDo)); // re-processed all the same

    Dialog big5;
    big5.setting.AutoConvert = false;
    big5.Open();
    EXPECT_EQ(big5.form->CheckBoxAutoGB->text(), QStringLiteral("自动转换为BIG5码"));
    big5.form->CheckBoxAutoGB->click();
    big5.form->BtnOk->click();
    EXPECT_TRUE(big5.setting.AutoConvert);
}

TEST(SetupDialogTest, ABadFieldKeepsTheDialogOpenAndStoresNothing) {
    Dialog d;
    d.Open();
    TFormSetup& f = *d.form;
    f.CheckBoxHangD->click();
    f.EditBookLeft->setText("300");
    f.EditBookHeight->setText("50"); // below the smallest book
    f.PageControl->setCurrentIndex(2);
    f.BtnOk->click();
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.result(), 0);
    EXPECT_EQ(f.PageControl->currentIndex(), 0);
    EXPECT_EQ(f.EditBookHeight->selectedText(), QStringLiteral("50"));
    EXPECT_EQ(d.setting.BookLeft, 100); // checked all before any is stored
    EXPECT_FALSE(d.setting.DoubleSpacing);
    f.EditBookTop->setText("1e3");
    f.BtnOk->click();
    EXPECT_EQ(f.EditBookTop->selectedText(), QStringLiteral("1e3"));
    f.EditBookTop->setText("-32767");
    f.EditBookHeight->setText("79");
    f.BtnOk->click();
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(d.setting.BookLeft, 300);
    EXPECT_EQ(d.setting.BookTop, -32767);
    EXPECT_EQ(d.setting.BookHeight, 79);
    EXPECT_TRUE(d.setting.DoubleSpacing);
    // Only the number out of range was told why.
    EXPECT_EQ(d.prompter.Prompts,
              (std::vector<Prompt>{{Prompt::Info, "书本高度必须在79到32767之间。"}}));
}

TEST(SetupDialogTest, DefaultsButtonAsksFirstAndCancelForgetsTheChanges) {
    Dialog d;
    d.prompter.Answers = {false, true};
    d.Open();
    TFormSetup& f = *d.form;
    f.CheckBoxHangD->click();
    f.BtnDefault->click();
    EXPECT_EQ(d.prompter.Prompts, (std::vector<Prompt>{{Prompt::Confirm, "恢复为默认设置？"}}));
    EXPECT_TRUE(f.isVisible());
    f.BtnDefault->click();
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.result(), TFormSetup::DefaultResult);
    EXPECT_FALSE(d.setting.DoubleSpacing); // nothing changes in memory

    Dialog c;
    c.Open();
    c.form->CheckBoxHangD->click();
    c.form->BtnCancel->click();
    EXPECT_EQ(c.form->result(), QDialog::Rejected);
    EXPECT_EQ(c.flags, c.None());
    EXPECT_EQ(c.setting, Settings{});
}

TEST(SetupDialogTest, OkStoresEveryOptionAndTheChosenFontsAndPictures) {
    Dialog d;
    d.Open();
    TFormSetup& f = *d.form;
    FontSpec big;
    big.Size = 14;
    big.Color = 0x0000FF;
    d.nextFont = big;
    f.BtnChangePageFont->click();
    EXPECT_EQ(d.flags, d.Only(SetupGroup::Page));
    d.nextFont.reset(); // the user cancels the font dialog: nothing marked
    f.BtnChangeYeFont->click();
    EXPECT_FALSE(d.flags.YeChanged);
    f.BtnUnderlineColor->click();
    f.SpinUnderlineOffset->setValue(3);
    f.SpinUnderlineWidth->setValue(2);
    f.BtnChangeBackground->click();
    f.Ye[1].Be->setCurrentText(QStringLiteral("P"));
    f.Ye[0].Loc[1]->click();
    f.Ye[0].Loc[3]->click();
    f.CheckBoxClearNewItem->click();
    f.CheckBoxOpenCloseFile->click();
    f.BtnOk->click();
    const Settings& s = d.setting;
    EXPECT_EQ(s.PageFont, big);
    EXPECT_EQ(s.PageNumberFont, FontSpec{});
    EXPECT_EQ(s.UnderlineColor, 0xFF0000);
    EXPECT_EQ(s.UnderlineOffset, 3);
    EXPECT_EQ(s.UnderlineWidth, 2);
    EXPECT_TRUE(s.UseBackgroundImage);
    EXPECT_EQ(s.BackgroundImageFile, "/pictures/paper.jpg");
    EXPECT_EQ(s.PageNumberPrefix[1], "P");
    EXPECT_EQ(s.PageNumberPrefix[0], "第");
    EXPECT_EQ(s.PageNumberPosition[0], "21");
    EXPECT_EQ(s.PageNumberPosition[1], "32");
    EXPECT_FALSE(s.ClearRecentOnLibraryOpen);
    EXPECT_FALSE(s.ReopenLastFile);
}

TEST(SetupDialogTest, FontDialogKeepsColourCharsetAndTheStoredFace) {
    FontSpec stored;
    stored.Color = 0x00FF00;
    stored.Charset = 136;
    // The dialog returns the installed face that stands in for 宋体.
    QFont shown(QFontInfo(ToQFont(stored)).family());
    shown.setPointSize(12);
    shown.setBold(true);
    const FontSpec same = FontFromDialog(stored, shown);
    EXPECT_EQ(same.Face, "宋体");
    EXPECT_EQ(same.Size, 12);
    EXPECT_TRUE(same.Bold);
    EXPECT_EQ(same.Color, 0x00FF00);
    EXPECT_EQ(same.Charset, 136);
    QFont other(QStringLiteral("DejaVu Sans"));
    other.setPointSize(10);
    EXPECT_EQ(FontFromDialog(stored, other).Face, "DejaVu Sans");
}

} // namespace

// The alarm dialog edits a copy that only the settings dialog's OK keeps; the automatic
// reading editors and the alarms then go through the store and come back as they were.
TEST(SetupDialogTest, AlarmsAndAutoReadingGoThroughTheStoreAndBack) {
    Dialog d;
    d.Open();
    TFormSetup& f = *d.form;
    auto answer = DialogAnswer::For<TFormAlarm>([](TFormAlarm* alarms) {
        alarms->Slots[1].Enabled->setChecked(true);
        alarms->Slots[1].Time->setTime(QTime(21, 30, 5));
        alarms->Slots[1].Text->setText(QStringLiteral("该睡了"));
        alarms->accept();
    });
    f.BtnChangeAlarm->click();
    ASSERT_TRUE(answer.Answered());
    EXPECT_FALSE(d.setting.AlarmEnabled[1]);
    EXPECT_EQ(d.flags, d.None());
    f.CheckBoxAutoReadPaced->click();
    f.SpinAutoPageTurnInterval->setValue(45);
    f.SpinReadingSpeed->setValue(520);
    f.BtnOk->click();
    ScratchDir dir;
    Registry reg(dir / "registry.sqlite3");
    ASSERT_TRUE(SaveSettings(reg, d.setting, {}, false, {}, {}));
    reg.WriteRegStr(SettingsRoot, "注册", "Vesk");
    Settings back;
    LoadSettings(reg, back);
    EXPECT_EQ(back.AlarmEnabled, (std::array<bool, 4>{false, true, false, false}));
    EXPECT_EQ(back.AlarmTime[1], "21:30:05");
    EXPECT_EQ(back.AlarmText[1], "该睡了");
    EXPECT_TRUE(back.AutoReadPaced);
    EXPECT_EQ(back.AutoPageTurnInterval, 45);
    EXPECT_EQ(back.ReadingSpeed, 520);
}
