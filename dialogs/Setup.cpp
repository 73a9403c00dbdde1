#include "Setup.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "records/Global.h"

namespace {

const QStringList PrefixChoices = {"第", "-", "～", "「", "〖", "【", "（", "［",
                                   "｛", "⊙", "☆",  "★",  "○",  "●",  "◎"};
const QStringList SuffixChoices = {"页", "-", "～", "」", "〗", "】", "）", "］",
                                   "｝", "⊙", "☆",  "★",  "○",  "●",  "◎"};
constexpr char HelpTextName[] = "说明文件";
constexpr char AutoGbCaption[] = "自动转换为GB码";
constexpr char AutoBig5Caption[] = "自动转换为BIG5码";
constexpr char DefaultsQuestion[] = "恢复为默认设置？";
// The underline is drawn in a strip 18 pixels high under its line.
constexpr int MaxUnderlineWidth = 18;
constexpr int UnderlineOffsetRange = 40;

template <typename T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QCheckBox* Box(const char* name, const char* caption) {
    return Named(new QCheckBox(QString::fromUtf8(caption)), name);
}

QPushButton* Button(const char* name, const char* caption) {
    return Named(new QPushButton(QString::fromUtf8(caption)), name);
}

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

QColor ColorOf(int value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

std::optional<int> StandardColor(int value, QWidget* parent) {
    const QColor color = QColorDialog::getColor(ColorOf(value), parent);
    if (!color.isValid())
        return std::nullopt;
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

} // namespace

TFormSetup::TFormSetup(Settings& setting, ChangeFlags& flags, const Info& info, Choosers choosers,
                       QWidget* parent)
    : QDialog(parent), Setting(setting), Flags(flags), Choose(std::move(choosers)),
      PageNumberFont(setting.PageNumberFont), PageFont(setting.PageFont),
      UnderlineColor(setting.UnderlineColor), BackgroundImageFile(setting.BackgroundImageFile),
      BookmarkImageFile(setting.BookmarkImageFile) {
    if (!Choose.Color)
        Choose.Color = StandardColor;
    setObjectName(QStringLiteral("FormSetup"));
    setWindowTitle(QStringLiteral("设置"));
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    setFont(font);

    PageControl = Named(new QTabWidget, "PageControl");
    PageControl->addTab(BuildBookTab(info), QStringLiteral("书本设置 "));
    PageControl->addTab(BuildPageTab(), QStringLiteral("页面设置  "));
    PageControl->addTab(BuildYeTab(), QStringLiteral("页码设置  "));
    PageControl->addTab(BuildSystemTab(), QStringLiteral("系统设置  "));
    BtnOk = Button("BtnOk", "确定");
    BtnCancel = Button("BtnCancel", "取消");
    BtnDefault = Button("BtnDefault", "默认(&D)...");
    BtnOk->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {BtnOk, BtnCancel, BtnDefault})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl);
    layout->addLayout(buttons);
    setMinimumSize(424, 238);
    layout->setSizeConstraint(QLayout::SetFixedSize); // a dialog border: no resizing

    // Enter always means OK, even just after one of the tabs' own buttons was used.
    for (QPushButton* button : {BtnUnderlineColor, BtnChangeAlarm, BtnChangeBackground,
                                BtnChangeYeFont, BtnChangePageFont})
        button->setAutoDefault(false);
    Fill();
    ConnectChanges();
    // Filling the controls is not a change by the user.
    Flags.Clear();
}

QWidget* TFormSetup::BuildBookTab(const Info& info) {
    EditBookLeft = Named(new QLineEdit, "EditBookLeft");
    EditBookTop = Named(new QLineEdit, "EditBookTop");
    EditBookWidth = Named(new QLineEdit, "EditBookWidth");
    EditBookHeight = Named(new QLineEdit, "EditBookHeight");
    auto* place = new QGroupBox(QStringLiteral("书本位置"));
    auto* placeForm = new QFormLayout(place);
    placeForm->addRow(QStringLiteral("距左:"), EditBookLeft);
    placeForm->addRow(QStringLiteral("距上:"), EditBookTop);
    auto* size = new QGroupBox(QStringLiteral("书本大小"));
    auto* sizeForm = new QFormLayout(size);
    sizeForm->addRow(QStringLiteral("宽度:"), EditBookWidth);
    sizeForm->addRow(QStringLiteral("高度:"), EditBookHeight);

    EditFilename = Named(new QLineEdit, "EditFilename");
    EditFilename->setReadOnly(true);
    EditFilename->setFrame(false);
    EditFilename->setText(info.DocumentName.empty() ? QString::fromUtf8(HelpTextName)
                                                    : Text(info.DocumentName));
    EditFilename->setCursorPosition(0);
    LabelYeCount = Named(new QLabel(QStringLiteral("共%1页").arg(info.PageCount)), "LabelYeCount");
    LabelWordCount =
        Named(new QLabel(QStringLiteral("共%1字").arg(info.CharCount)), "LabelWordCount");
    LabelYeCurrent =
        Named(new QLabel(QStringLiteral("第%1页").arg(info.CurrentPage)), "LabelYeCurrent");
    auto* facts = new QGroupBox(QStringLiteral("系统信息"));
    auto* factsForm = new QFormLayout(facts);
    factsForm->addRow(QStringLiteral("文件名:"), EditFilename);
    factsForm->addRow(QStringLiteral("总页数:"), LabelYeCount);
    factsForm->addRow(QStringLiteral("总字数:"), LabelWordCount);
    factsForm->addRow(QStringLiteral("当前页数:"), LabelYeCurrent);

    auto* tab = new QWidget;
    auto* grid = new QGridLayout(tab);
    grid->addWidget(place, 0, 0);
    grid->addWidget(size, 1, 0);
    grid->addWidget(facts, 0, 1, 2, 1);
    grid->setColumnStretch(1, 1);
    return tab;
}

QWidget* TFormSetup::BuildPageTab() {
    CheckBoxMove = Box("CheckBoxMove", "移动书本");
    CheckBoxResize = Box("CheckBoxResize", "改变书本大小");
    CheckBoxPageMove = Box("CheckBoxPageMove", "拖曳页面时移动书本");
    CheckBoxPageYe = Box("CheckBoxPageYe", "点击页面翻页");
    CheckBoxMax = Box("CheckBoxMax", "最大化显示");
    auto* page = new QGroupBox(QStringLiteral("页面设置"));
    auto* pageBox = new QVBoxLayout(page);
    for (QCheckBox* box :
         {CheckBoxMove, CheckBoxResize, CheckBoxPageMove, CheckBoxPageYe, CheckBoxMax})
        pageBox->addWidget(box);

    CheckBoxBIG5 = Box("CheckBoxBIG5", "BIG5码转换为GB码");
    CheckBoxGB = Box("CheckBoxGB", "GB码转换为BIG5码");
    CheckBoxHtml = Box("CheckBoxHtml", "处理HTML文件");
    CheckBoxChap = Box("CheckBoxChap", "智能分段");
    CheckBoxHangD = Box("CheckBoxHangD", "行距加倍");
    auto* passes = new QGroupBox(QStringLiteral("处理设置"));
    auto* passesBox = new QVBoxLayout(passes);
    for (QCheckBox* box : {CheckBoxBIG5, CheckBoxGB, CheckBoxHtml, CheckBoxChap, CheckBoxHangD})
        passesBox->addWidget(box);
    ComboBoxPunct = Named(new QComboBox, "ComboBoxPunct");
    ComboBoxPunct->addItems(
        {QStringLiteral("关闭"), QStringLiteral("基本"), QStringLiteral("严格")});
    auto* punct = new QFormLayout;
    punct->addRow(QStringLiteral("标点避头尾(&P):"), ComboBoxPunct);
    passesBox->addLayout(punct);

    BtnUnderlineColor = Button("BtnUnderlineColor", "下划线颜色...");
    SpinUnderlineOffset = Named(new QSpinBox, "SpinUnderlineOffset");
    SpinUnderlineOffset->setRange(-UnderlineOffsetRange, UnderlineOffsetRange);
    SpinUnderlineWidth = Named(new QSpinBox, "SpinUnderlineWidth");
    SpinUnderlineWidth->setRange(1, MaxUnderlineWidth);
    auto* underline = new QGroupBox(QStringLiteral("下划线"));
    auto* underlineForm = new QFormLayout(underline);
    underlineForm->addRow(BtnUnderlineColor);
    underlineForm->addRow(QStringLiteral("距离:"), SpinUnderlineOffset);
    underlineForm->addRow(QStringLiteral("宽度:"), SpinUnderlineWidth);

    auto* tab = new QWidget;
    auto* row = new QHBoxLayout(tab);
    row->addWidget(page);
    row->addWidget(passes);
    row->addWidget(underline);
    return tab;
}

QWidget* TFormSetup::BuildPageNumberGroup(int index) {
    const QString n = QString::number(index + 1);
    PageNumberControls& c = Ye[index];
    c.Be = new QComboBox;
    c.Be->setObjectName(QStringLiteral("ComboBoxYe%1Be").arg(n));
    c.Be->setEditable(true);
    c.Be->addItems(PrefixChoices);
    c.Af = new QComboBox;
    c.Af->setObjectName(QStringLiteral("ComboBoxYe%1Af").arg(n));
    c.Af->setEditable(true);
    c.Af->addItems(SuffixChoices);
    const std::array<const char*, 5> captions{"靠左", "中间", "靠右", "靠上", "靠下"};
    auto* across = new QWidget;
    auto* acrossBox = new QHBoxLayout(across);
    auto* upDown = new QWidget;
    auto* upDownBox = new QHBoxLayout(upDown);
    acrossBox->setContentsMargins(0, 0, 0, 0);
    upDownBox->setContentsMargins(0, 0, 0, 0);
    // Two radio groups: each parent widget makes its buttons exclusive among themselves.
    for (int i = 0; i < 5; ++i) {
        c.Loc[i] = new QRadioButton(QString::fromUtf8(captions[i]));
        c.Loc[i]->setObjectName(QStringLiteral("RbYe%1loc%2").arg(n).arg(i + 1));
        (i < 3 ? acrossBox : upDownBox)->addWidget(c.Loc[i]);
    }
    auto* position = new QGroupBox(QStringLiteral("页码位置"));
    auto* positionBox = new QVBoxLayout(position);
    positionBox->addWidget(across);
    positionBox->addWidget(upDown);
    c.Count = new QCheckBox(QStringLiteral("显示总页数"));
    c.Count->setObjectName(QStringLiteral("CheckBoxYe%1Count").arg(n));

    auto* group = new QGroupBox(QStringLiteral("页码&") + n);
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("页码前缀:"), c.Be);
    form->addRow(QStringLiteral("页码后缀:"), c.Af);
    form->addRow(position);
    form->addRow(c.Count);
    return group;
}

QWidget* TFormSetup::BuildYeTab() {
    auto* tab = new QWidget;
    auto* row = new QHBoxLayout(tab);
    row->addWidget(BuildPageNumberGroup(0));
    row->addWidget(BuildPageNumberGroup(1));
    return tab;
}

QWidget* TFormSetup::BuildSystemTab() {
    CheckBoxShowTime = Box("CheckBoxShowTime", "显示时间");
    BtnChangeAlarm = Button("BtnChangeAlarm", "定时提醒...");
    CheckBoxFlat = Box("CheckBoxFlat", "浮动式按钮");
    CheckBoxViewCtrl = Box("CheckBoxViewCtrl", "显示界面控制按钮");
    CheckBoxBackground = Box("CheckBoxBackground", "背景图片:");
    EditBackground = Named(new QLineEdit, "EditBackground");
    EditBackground->setReadOnly(true);
    BtnChangeBackground = Button("BtnChangeBackground", "浏览...");
    auto* back = new QGroupBox(QStringLiteral("背景设置"));
    auto* backGrid = new QGridLayout(back);
    backGrid->addWidget(CheckBoxShowTime, 0, 0);
    backGrid->addWidget(BtnChangeAlarm, 0, 1);
    backGrid->addWidget(CheckBoxFlat, 1, 0);
    backGrid->addWidget(CheckBoxViewCtrl, 1, 1);
    backGrid->addWidget(CheckBoxBackground, 2, 0);
    backGrid->addWidget(BtnChangeBackground, 2, 1);
    backGrid->addWidget(EditBackground, 3, 0, 1, 2);

    CheckBoxChangeItem = Box("CheckBoxChangeItem", "改变最新文件菜单顺序");
    CheckBoxOpenCloseFile = Box("CheckBoxOpenCloseFile", "打开上次关闭时候的文件");
    CheckBoxClearLabel = Box("CheckBoxClearLabel", "重新打开文件时清除书签");
    CheckBoxClearNewItem = Box("CheckBoxClearNewItem", "打开书库文件时清除原菜单");
    CheckBoxAutoGB = Box("CheckBoxAutoGB", AutoGbCaption);
    CheckBoxYeView = Box("CheckBoxYeView", "显示页码:");
    BtnChangeYeFont = Button("BtnChangeYeFont", "页码字体...");
    BtnChangePageFont = Button("BtnChangePageFont", "图书字体...");
    CheckBoxRunningHead = Box("CheckBoxRunningHead", "页首显示章节标题");
    auto* system = new QGroupBox(QStringLiteral("系统设置"));
    auto* systemGrid = new QGridLayout(system);
    systemGrid->addWidget(CheckBoxChangeItem, 0, 0);
    systemGrid->addWidget(CheckBoxOpenCloseFile, 1, 0);
    systemGrid->addWidget(CheckBoxClearLabel, 2, 0);
    systemGrid->addWidget(CheckBoxClearNewItem, 3, 0);
    systemGrid->addWidget(CheckBoxAutoGB, 4, 0);
    systemGrid->addWidget(CheckBoxYeView, 0, 1);
    systemGrid->addWidget(BtnChangeYeFont, 1, 1);
    systemGrid->addWidget(BtnChangePageFont, 2, 1);
    systemGrid->addWidget(CheckBoxRunningHead, 3, 1);

    auto* tab = new QWidget;
    auto* row = new QHBoxLayout(tab);
    auto* column = new QVBoxLayout;
    column->addWidget(back);
    column->addWidget(BuildAutoReadGroup());
    row->addLayout(column);
    row->addWidget(system);
    return tab;
}

void TFormSetup::Fill() {
    PageControl->setCurrentIndex(0);
    EditBookLeft->setText(QString::number(Setting.BookLeft));
    EditBookTop->setText(QString::number(Setting.BookTop));
    EditBookWidth->setText(QString::number(Setting.BookWidth));
    EditBookHeight->setText(QString::number(Setting.BookHeight));
    CheckBoxMove->setChecked(Setting.MoveBook);
    CheckBoxResize->setChecked(Setting.ResizeBook);
    CheckBoxPageMove->setChecked(Setting.DragPageMovesBook);
    CheckBoxPageYe->setChecked(Setting.ClickPageTurns);
    CheckBoxMax->setChecked(Setting.Maximized);
    CheckBoxBIG5->setChecked(Setting.ConvertBig5);
    CheckBoxGB->setChecked(Setting.ConvertGb);
    CheckBoxHtml->setChecked(Setting.ProcessHtml);
    CheckBoxChap->setChecked(Setting.SmartParagraphs);
    CheckBoxHangD->setChecked(Setting.DoubleSpacing);
    ComboBoxPunct->setCurrentIndex(Setting.Punctuation);
    SpinUnderlineOffset->setValue(Setting.UnderlineOffset);
    SpinUnderlineWidth->setValue(Setting.UnderlineWidth);
    for (int i = 0; i < 2; ++i) {
        PageNumberControls& c = Ye[i];
        c.Be->setCurrentText(Text(Setting.PageNumberPrefix[i]));
        c.Af->setCurrentText(Text(Setting.PageNumberSuffix[i]));
        PagePosition[i] = NormalizePagePosition(Setting.PageNumberPosition[i], i + 1);
        c.Loc[PagePosition[i][0] - '1']->setChecked(true);
        c.Loc[PagePosition[i][1] - '1' + 3]->setChecked(true);
        c.Count->setChecked(Setting.PageNumberShowTotal[i]);
    }
    CheckBoxShowTime->setChecked(Setting.ShowClock);
    CheckBoxFlat->setChecked(Setting.FlatButtons);
    CheckBoxViewCtrl->setChecked(Setting.ShowControlButtons);
    CheckBoxBackground->setChecked(Setting.UseBackgroundImage);
    EditBackground->setText(Text(BackgroundImageFile));
    CheckBoxChangeItem->setChecked(Setting.ReorderRecent);
    CheckBoxOpenCloseFile->setChecked(Setting.ReopenLastFile);
    CheckBoxClearLabel->setChecked(Setting.ClearBookmarksOnReopen);
    CheckBoxClearNewItem->setChecked(Setting.ClearRecentOnLibraryOpen);
    CheckBoxYeView->setChecked(Setting.ShowPageNumbers);
    CheckBoxRunningHead->setChecked(Setting.ShowRunningHead);
    for (QPushButton* button : {BtnChangeAlarm, BtnChangeYeFont, BtnChangePageFont})
        button->setFlat(Setting.FlatButtons);
    CheckBoxAutoGB->setChecked(true);
    AutoGb = Setting.AutoConvert;
    ShowAutoGbCaption();
    FillAutoRead();
    UpdateEnabling();
}

void TFormSetup::ConnectChanges() {
    const auto on = [this](QCheckBox* box, SetupGroup group) {
        connect(box, &QCheckBox::clicked, this, [this, group] { Mark(group); });
    };
    connect(SpinUnderlineOffset, &QSpinBox::valueChanged, this,
            [this] { UnderlineOffsetEdited = true; });
    connect(SpinUnderlineWidth, &QSpinBox::valueChanged, this,
            [this] { UnderlineWidthEdited = true; });
    for (QLineEdit* edit : {EditBookWidth, EditBookHeight})
        connect(edit, &QLineEdit::textEdited, this, [this] { Mark(SetupGroup::Window); });
    on(CheckBoxMax, SetupGroup::Max);
    for (QCheckBox* box : {CheckBoxBIG5, CheckBoxGB, CheckBoxHtml, CheckBoxChap})
        on(box, SetupGroup::PageDo);
    on(CheckBoxHangD, SetupGroup::Page);
    connect(ComboBoxPunct, &QComboBox::currentIndexChanged, this,
            [this] { Mark(SetupGroup::Page); });
    on(CheckBoxViewCtrl, SetupGroup::Image);
    on(CheckBoxBackground, SetupGroup::Image);
    on(CheckBoxYeView, SetupGroup::Ye);
    on(CheckBoxRunningHead, SetupGroup::Ye);
    for (PageNumberControls& c : Ye) {
        for (QComboBox* combo : {c.Be, c.Af})
            connect(combo, &QComboBox::currentTextChanged, this, [this] { Mark(SetupGroup::Ye); });
        for (QRadioButton* radio : c.Loc)
            connect(radio, &QRadioButton::clicked, this, [this] { Mark(SetupGroup::Ye); });
        on(c.Count, SetupGroup::Ye);
    }
    connect(CheckBoxMove, &QCheckBox::toggled, this, &TFormSetup::UpdateEnabling);
    connect(CheckBoxYeView, &QCheckBox::toggled, this, &TFormSetup::UpdateEnabling);
    connect(CheckBoxAutoGB, &QCheckBox::clicked, this, &TFormSetup::CheckBoxAutoGBClick);
    connect(BtnChangeYeFont, &QPushButton::clicked, this,
            [this] { ChooseFont(PageNumberFont, SetupGroup::Ye); });
    connect(BtnChangePageFont, &QPushButton::clicked, this,
            [this] { ChooseFont(PageFont, SetupGroup::Page); });
    connect(BtnUnderlineColor, &QPushButton::clicked, this, &TFormSetup::ChooseUnderlineColor);
    connect(BtnChangeAlarm, &QPushButton::clicked, this, &TFormSetup::BtnChangeAlarmClick);
    connect(BtnChangeBackground, &QPushButton::clicked, this, &TFormSetup::ChooseBackground);
    connect(BtnDefault, &QPushButton::clicked, this, &TFormSetup::BtnDefaultClick);
    connect(BtnCancel, &QPushButton::clicked, this, &TFormSetup::reject);
    connect(BtnOk, &QPushButton::clicked, this, &TFormSetup::BtnOkClick);
}

void TFormSetup::Mark(SetupGroup group) {
    MarkChanged(Flags, group);
}

// Dragging a page can move the book only while the book may move at all; the page-number font
// matters only while page numbers are shown.
void TFormSetup::UpdateEnabling() {
    CheckBoxPageMove->setEnabled(CheckBoxMove->isChecked());
    if (!CheckBoxPageMove->isEnabled())
        CheckBoxPageMove->setChecked(false);
    BtnChangeYeFont->setEnabled(CheckBoxYeView->isChecked());
}

// The box never shows unchecked: each click swaps the direction of the automatic conversion,
// and its caption names the direction in force.
void TFormSetup::CheckBoxAutoGBClick() {
    CheckBoxAutoGB->blockSignals(true);
    CheckBoxAutoGB->setChecked(true);
    CheckBoxAutoGB->blockSignals(false);
    AutoGb = !AutoGb;
    ShowAutoGbCaption();
    Mark(SetupGroup::PageDo);
}

void TFormSetup::ShowAutoGbCaption() {
    CheckBoxAutoGB->setText(QString::fromUtf8(AutoGb ? AutoGbCaption : AutoBig5Caption));
}

void TFormSetup::ChooseFont(FontSpec& font, SetupGroup group) {
    if (!Choose.Font)
        return;
    if (std::optional<FontSpec> chosen = Choose.Font(font, this)) {
        font = *chosen;
        Mark(group);
    }
}

void TFormSetup::ChooseUnderlineColor() {
    if (std::optional<int> color = Choose.Color(UnderlineColor, this))
        UnderlineColor = *color;
}

void TFormSetup::ChooseBackground() {
    if (!Choose.Picture)
        return;
    if (std::optional<std::string> file = Choose.Picture(BackgroundImageFile, this)) {
        BackgroundImageFile = *file;
        EditBackground->setText(Text(BackgroundImageFile));
        CheckBoxBackground->setChecked(true);
        Mark(SetupGroup::Image);
    }
}

void TFormSetup::BtnDefaultClick() {
    if (AskConfirm(DefaultsQuestion))
        done(DefaultResult);
}

void TFormSetup::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void TFormSetup::reject() {
    Flags.Clear();
    QDialog::reject();
}

void TFormSetup::BtnOkClick() {
    const std::array<QLineEdit*, 4> edits{EditBookLeft, EditBookTop, EditBookWidth, EditBookHeight};
    std::array<std::string, 4> texts;
    for (std::size_t i = 0; i < edits.size(); ++i)
        texts[i] = edits[i]->text().toStdString();
    const BoundsCheck check = CheckBounds(texts);
    if (check.Bad) {
        QLineEdit* bad = edits[static_cast<std::size_t>(*check.Bad)];
        PageControl->setCurrentIndex(0);
        bad->setFocus();
        bad->selectAll();
        if (!check.Why.empty())
            ShowInfo(check.Why);
        return;
    }
    Setting.BookLeft = check.Bounds.Left;
    Setting.BookTop = check.Bounds.Top;
    Setting.BookWidth = check.Bounds.Width;
    Setting.BookHeight = check.Bounds.Height;
    StoreOptions();
    accept();
}

void TFormSetup::StoreOptions() {
    Setting.MoveBook = CheckBoxMove->isChecked();
    Setting.ResizeBook = CheckBoxResize->isChecked();
    Setting.DragPageMovesBook = CheckBoxPageMove->isChecked();
    Setting.ClickPageTurns = CheckBoxPageYe->isChecked();
    Setting.Maximized = CheckBoxMax->isChecked();
    Setting.ConvertBig5 = CheckBoxBIG5->isChecked();
    Setting.ConvertGb = CheckBoxGB->isChecked();
    Setting.ProcessHtml = CheckBoxHtml->isChecked();
    Setting.SmartParagraphs = CheckBoxChap->isChecked();
    Setting.DoubleSpacing = CheckBoxHangD->isChecked();
    Setting.Punctuation = ComboBoxPunct->currentIndex();
    Setting.UnderlineColor = UnderlineColor;
    // A stored value outside a spin box's range shows clamped; it is kept unless the user
    // changed it.
    if (UnderlineOffsetEdited)
        Setting.UnderlineOffset = SpinUnderlineOffset->value();
    if (UnderlineWidthEdited)
        Setting.UnderlineWidth = SpinUnderlineWidth->value();
    for (int i = 0; i < 2; ++i) {
        const PageNumberControls& c = Ye[i];
        Setting.PageNumberPrefix[i] = c.Be->currentText().toStdString();
        Setting.PageNumberSuffix[i] = c.Af->currentText().toStdString();
        std::string& position = PagePosition[i];
        for (int n = 0; n < 3; ++n)
            if (c.Loc[n]->isChecked())
                position[0] = static_cast<char>('1' + n);
        for (int n = 0; n < 2; ++n)
            if (c.Loc[n + 3]->isChecked())
                position[1] = static_cast<char>('1' + n);
        Setting.PageNumberPosition[i] = position;
        Setting.PageNumberShowTotal[i] = c.Count->isChecked();
    }
    Setting.UseBackgroundImage = CheckBoxBackground->isChecked();
    Setting.BackgroundImageFile = BackgroundImageFile;
    Setting.BookmarkImageFile = BookmarkImageFile;
    Setting.ShowClock = CheckBoxShowTime->isChecked();
    Setting.FlatButtons = CheckBoxFlat->isChecked();
    Setting.ShowControlButtons = CheckBoxViewCtrl->isChecked();
    Setting.ReorderRecent = CheckBoxChangeItem->isChecked();
    Setting.ReopenLastFile = CheckBoxOpenCloseFile->isChecked();
    Setting.ClearBookmarksOnReopen = CheckBoxClearLabel->isChecked();
    Setting.ClearRecentOnLibraryOpen = CheckBoxClearNewItem->isChecked();
    Setting.ShowPageNumbers = CheckBoxYeView->isChecked();
    Setting.ShowRunningHead = CheckBoxRunningHead->isChecked();
    Setting.AutoConvert = AutoGb;
    Setting.PageNumberFont = PageNumberFont;
    Setting.PageFont = PageFont;
    StoreAutoRead();
}
