// test-links: mojuan_records
#include "records/SettingsStore.h"

#include "RecordingPrompter.h"
#include "StoreTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct SettingsStoreTest : testing::Test {
    ScratchDir Dir;
    std::string StorePath = Dir / "registry.sqlite3";
    Registry Reg{StorePath, {200}};
    RecordingPrompter Prompts;
    ScopedPrompter Installed{Prompts};

    // A start of the program on the store as it is: fresh fonts, then the settings read.
    Settings Start() {
        Settings s;
        LoadSettings(Reg, s);
        return s;
    }
    void MarkAsSetUp() { Reg.WriteRegStr(SettingsRoot, "注册", "Vesk"); }
    std::string Value(const char* key, const std::string& name) {
        return Reg.ReadRegStr(key, name, "<missing>");
    }
};

// Every field changed from its default, so a round trip shows each one.
Settings Changed() {
    Settings s;
    s.BookLeft = 10, s.BookTop = 20, s.BookWidth = 800, s.BookHeight = 500;
    s.MoveBook = s.ResizeBook = s.DragPageMovesBook = s.ClickPageTurns = false;
    s.Maximized = s.AutoPageTurn = true;
    s.AutoPageTurnInterval = 30;
    s.AutoReadPaced = true, s.ReadingSpeed = 450;
    s.ConvertBig5 = s.ConvertGb = s.ProcessHtml = s.SmartParagraphs = s.DoubleSpacing = true;
    s.Punctuation = static_cast<int>(PunctuationRule::Strict);
    s.ShowUnderline = true;
    s.UnderlineColor = 0x00FF00, s.UnderlineOffset = 3, s.UnderlineWidth = 2;
    s.PageNumberPrefix = {"左", "P"};
    s.PageNumberSuffix = {"", "/"};
    s.PageNumberPosition = {"21", "31"};
    s.PageNumberShowTotal = {true, false};
    s.UseBackgroundImage = true, s.BackgroundImageFile = "/图/皮.jpg";
    s.UseBookmarkImage = true, s.BookmarkImageFile = "/图/签.bmp";
    s.ShowClock = true;
    s.AlarmEnabled = {true, false, true, false};
    s.AlarmTime = {"07:30:00", "00:00:00", "23:59:59", "12:00:01"};
    s.AlarmText = {"起床", "", "睡觉", "午饭"};
    s.FlatButtons = true, s.ShowControlButtons = false, s.ReorderRecent = true;
    s.ReopenLastFile = false;
    s.ClearBookmarksOnReopen = true, s.ClearRecentOnLibraryOpen = false;
    s.AutoConvert = false, s.ShowPageNumbers = false, s.ShowRunningHead = false;
    s.PageNumberFont = {"黑体", 12, 0x112233, 136, true, false, true, false};
    s.PageFont = {"楷体", 14, 0x445566, 0, false, true, false, true};
    return s;
}

WindowBounds BoundsOf(const Settings& s) {
    return {s.BookLeft, s.BookTop, s.BookWidth, s.BookHeight};
}

bool Save(Registry& reg, Settings& s, const LastDocument& last = {}) {
    return SaveSettings(reg, s, BoundsOf(s), false, {}, last);
}

std::vector<std::string> Slice(const std::vector<std::string>& names, const std::string& from,
                               std::size_t count) {
    auto it = std::find(names.begin(), names.end(), from);
    if (it == names.end() || names.end() - it < static_cast<long>(count))
        return {};
    return {it, it + count};
}

TEST_F(SettingsStoreTest, EmptyStoreWritesEveryDefaultAndOpensAtTheDefaultBounds) {
    Settings s = Start();
    EXPECT_EQ(s, Settings{});
    EXPECT_EQ(BoundsOf(s), (WindowBounds{100, 50, 596, 380}));
    EXPECT_EQ(Value(SettingsRoot, "版本"), "001");
    EXPECT_EQ(Value(SettingsRoot, "注册"), "Vesk");
    for (int i = 0; i < OrderSlotCount; ++i)
        EXPECT_EQ(Value(FileKey, "最新文件顺序" + std::to_string(i)), std::to_string(i));
    EXPECT_EQ(Value(SettingsRoot, "窗口宽度"), "596");
    EXPECT_EQ(Value(SettingsRoot, "页码2位置"), "32");
    EXPECT_EQ(Value(AlarmKey, "定时提醒时间4"), "00:00:00");
    EXPECT_EQ(Value(FileKey, "上次关闭文件索引"), "0");
    EXPECT_EQ(Value(FontKey, "页面字体"), "宋体");
    EXPECT_EQ(Value(FontKey, "页码字体语系"), "134");
    EXPECT_EQ(Value(SoundKey, "背景音乐文件0"), "");
    EXPECT_EQ(Value(SoundKey, "重复播放"), "0");
    EXPECT_TRUE(Prompts.Prompts.empty());
}

TEST_F(SettingsStoreTest, FirstRunWritesInTableOrderWithTheMarkLast) {
    Start();
    std::vector<std::string> names = NamesInInsertOrder(StorePath);
    // "版本", 50 slots, 4 bounds, 32 root fields, 12 alarm values, 4, 4 last document, 5,
    // 2 x 8 font values, 2 sound values, the mark.
    ASSERT_EQ(names.size(), 1u + 50 + 4 + 32 + 12 + 4 + 4 + 5 + 16 + 2 + 1);
    EXPECT_EQ(names[0], "版本");
    EXPECT_EQ(names[1], "最新文件顺序0");
    EXPECT_EQ(names[50], "最新文件顺序49");
    EXPECT_EQ(Slice(names, "窗口左位置", 6),
              (std::vector<std::string>{"窗口左位置", "窗口上位置", "窗口宽度", "窗口高度",
                                        "窗口移动", "窗口改变大小"}));
    EXPECT_EQ(Slice(names, "页码1前缀", 5),
              (std::vector<std::string>{"页码1前缀", "页码1后缀", "页码1位置", "页码1显示总页数",
                                        "页码2前缀"}));
    EXPECT_EQ(Slice(names, "显示时间", 6),
              (std::vector<std::string>{"显示时间", "定时提醒1", "定时提醒2", "定时提醒3",
                                        "定时提醒4", "定时提醒时间1"}));
    EXPECT_EQ(
        Slice(names, "打开上次关闭时候的文件", 6),
        (std::vector<std::string>{"打开上次关闭时候的文件", "上次关闭文件索引", "上次关闭文件",
                                  "上次关闭文件页码", "上次关闭文件位置", "清除书签信息"}));
    EXPECT_EQ(Slice(names, "页码显示", 3),
              (std::vector<std::string>{"页码显示", "章节标题显示", "页码字体"}));
    EXPECT_EQ(Slice(names, "页面字体下划线", 4),
              (std::vector<std::string>{"页面字体下划线", "背景音乐文件0", "重复播放", "注册"}));
}

TEST_F(SettingsStoreTest, FirstRunWritesTheFontsAsTheyAreHeld) {
    Settings s;
    s.PageFont = {"仿宋", 11, 5, 1, true, true, true, true};
    LoadSettings(Reg, s);
    EXPECT_EQ(Value(FontKey, "页面字体"), "仿宋");
    EXPECT_EQ(Value(FontKey, "页面字体大小"), "11");
    EXPECT_EQ(Value(FontKey, "页面字体粗体"), "1");
    EXPECT_EQ(Value(FontKey, "页码字体"), "宋体");
}

TEST_F(SettingsStoreTest, MarkDifferingOnlyInCaseCountsAsAbsent) {
    Reg.WriteRegStr(SettingsRoot, "注册", "vesk");
    Reg.WriteRegInt(SettingsRoot, "窗口宽度", 700);
    Settings s = Start();
    EXPECT_EQ(s.BookWidth, 596);
    EXPECT_EQ(Value(SettingsRoot, "注册"), "Vesk");
}

TEST_F(SettingsStoreTest, StoredValuesAreReadAndNotOverwritten) {
    MarkAsSetUp();
    Settings changed = Changed();
    ASSERT_TRUE(Save(Reg, changed, {"/书/a.txt", 3, 41, {2, 300}}));
    Settings s = Start();
    Settings expected = changed;
    expected.LastFile = "/书/a.txt";
    expected.LastFileIndex = 3;
    expected.LastFilePage = 41;
    expected.LastFilePlace = "2,300";
    EXPECT_EQ(s, expected);
}

TEST_F(SettingsStoreTest, WidthThatIsNotANumberReadsAsTheDefault) {
    MarkAsSetUp();
    Reg.WriteRegStr(SettingsRoot, "窗口宽度", "abc");
    EXPECT_EQ(Start().BookWidth, 596);
}

// A store from before the punctuation rule existed gets the rule new stores get.
TEST_F(SettingsStoreTest, PunctuationRuleMissingOrUnknownReadsAsBasic) {
    MarkAsSetUp();
    EXPECT_EQ(Start().Punctuation, static_cast<int>(PunctuationRule::Basic));
    Reg.WriteRegInt(SettingsRoot, "标点避头尾", 3);
    EXPECT_EQ(Start().Punctuation, static_cast<int>(PunctuationRule::Basic));
    Reg.WriteRegInt(SettingsRoot, "标点避头尾", 0);
    EXPECT_EQ(Start().Punctuation, static_cast<int>(PunctuationRule::Off));
}

TEST_F(SettingsStoreTest, OrderSlotsAreWrittenOnlyWhenSlotZeroIsUnset) {
    MarkAsSetUp();
    Reg.WriteRegInt(FileKey, "最新文件顺序0", 49);
    Reg.WriteRegInt(FileKey, "最新文件顺序1", 47);
    Start();
    EXPECT_EQ(Value(FileKey, "最新文件顺序0"), "49");
    EXPECT_EQ(Value(FileKey, "最新文件顺序2"), "<missing>");
    Reg.WriteRegStr(FileKey, "最新文件顺序0", "-1");
    Start();
    EXPECT_EQ(Value(FileKey, "最新文件顺序0"), "0");
    EXPECT_EQ(Value(FileKey, "最新文件顺序1"), "1");
}

TEST_F(SettingsStoreTest, FontReadKeepsHeldValuesForMissingOnesAndClearsTheStyle) {
    MarkAsSetUp();
    Reg.WriteRegInt(FontKey, "页面字体大小", 16);
    Reg.WriteRegBool(FontKey, "页面字体斜体", true);
    Settings s;
    s.PageFont = {"黑体", 9, 7, 134, true, false, true, true};
    LoadSettings(Reg, s);
    EXPECT_EQ(s.PageFont, (FontSpec{"黑体", 16, 7, 134, false, true, false, false}));
}

TEST_F(SettingsStoreTest, FontSizeOrCharsetOutOfRangeKeepsTheHeldValue) {
    MarkAsSetUp();
    Reg.WriteRegInt(FontKey, "页面字体大小", 0);
    Reg.WriteRegInt(FontKey, "页面字体语系", 300);
    Reg.WriteRegInt(FontKey, "页码字体大小", -12);
    Settings s = Start();
    EXPECT_EQ(s.PageFont.Size, 9);
    EXPECT_EQ(s.PageFont.Charset, 134);
    EXPECT_EQ(s.PageNumberFont.Size, 9);
}

TEST_F(SettingsStoreTest, AlarmTimeThatDoesNotParseReadsAsMidnightAndIsSwitchedOff) {
    MarkAsSetUp();
    for (const char* slot : {"定时提醒1", "定时提醒2", "定时提醒3", "定时提醒4"})
        Reg.WriteRegBool(AlarmKey, slot, true);
    Reg.WriteRegStr(AlarmKey, "定时提醒时间1", "25:00:00");
    Reg.WriteRegStr(AlarmKey, "定时提醒时间2", "abc");
    Reg.WriteRegStr(AlarmKey, "定时提醒时间3", "9:05:07");
    Reg.WriteRegStr(AlarmKey, "定时提醒时间4", "12:60:00");
    Settings s = Start();
    EXPECT_EQ(s.AlarmTime,
              (std::array<std::string, 4>{"00:00:00", "00:00:00", "09:05:07", "00:00:00"}));
    EXPECT_EQ(s.AlarmEnabled, (std::array<bool, 4>{false, false, true, false}));
}

TEST(AlarmTimeTest, OnlyATimeOfDayIsKept) {
    EXPECT_EQ(NormalizeAlarmTime("23:59:59"), "23:59:59");
    EXPECT_EQ(NormalizeAlarmTime("0:00:00"), "00:00:00");
    for (const char* bad : {"", "12:00", "24:00:00", "12:5:00", "12:00:5", "a1:00:00", "12:00:00 ",
                            "12:00:00:00", "-1:00:00", "123:00:00"})
        EXPECT_EQ(NormalizeAlarmTime(bad), "00:00:00") << bad;
}

TEST_F(SettingsStoreTest, ClosingOnTheHelpTextWritesNoLastDocument) {
    Settings s = Start();
    Reg.WriteRegStr(FileKey, "上次关闭文件", "/书/old.txt");
    ASSERT_TRUE(Save(Reg, s, {"", 4, 17}));
    EXPECT_EQ(Value(FileKey, "上次关闭文件"), "");
    EXPECT_EQ(Value(FileKey, "上次关闭文件索引"), "-1");
    EXPECT_EQ(Value(FileKey, "上次关闭文件页码"), "0");
}

TEST_F(SettingsStoreTest, ClosingOnADocumentWritesItsPlaceInTheRecentList) {
    Settings s = Start();
    ASSERT_TRUE(Save(Reg, s, {"/书/set.zip|vol1\\ch01.txt", 2, 33}));
    EXPECT_EQ(Value(FileKey, "上次关闭文件"), "/书/set.zip|vol1\\ch01.txt");
    EXPECT_EQ(Value(FileKey, "上次关闭文件索引"), "2");
    EXPECT_EQ(Value(FileKey, "上次关闭文件页码"), "33");
}

TEST_F(SettingsStoreTest, ClosingMaximisedStoresTheBoundsBeforeMaximising) {
    Settings s = Start();
    WindowBounds screen{0, 0, 1920, 1080};
    WindowBounds normal{120, 80, 640, 400};
    ASSERT_TRUE(SaveSettings(Reg, s, screen, true, normal, {}));
    EXPECT_EQ(BoundsOf(s), screen);
    EXPECT_EQ(BoundsOf(Start()), normal);
}

TEST_F(SettingsStoreTest, RightPagePrefixIsStoredApartFromTheLeft) {
    Settings s = Start();
    s.PageNumberPrefix[1] = "P";
    ASSERT_TRUE(Save(Reg, s));
    EXPECT_EQ(Value(SettingsRoot, "页码2前缀"), "P");
    EXPECT_EQ(Value(SettingsRoot, "页码1前缀"), "第");
}

TEST_F(SettingsStoreTest, CloseWritesInItsOwnOrder) {
    Settings s;
    ASSERT_TRUE(Save(Reg, s)); // on an empty store, so every value is a new row
    std::vector<std::string> names = NamesInInsertOrder(StorePath);
    ASSERT_EQ(names.size(), 4u + 32 + 12 + 4 + 4 + 5 + 16);
    EXPECT_EQ(names[0], "窗口左位置");
    EXPECT_EQ(Slice(names, "显示时间", 5),
              (std::vector<std::string>{"显示时间", "定时提醒1", "定时提醒时间1", "显示内容1",
                                        "定时提醒2"}));
    EXPECT_EQ(
        Slice(names, "打开上次关闭时候的文件", 6),
        (std::vector<std::string>{"打开上次关闭时候的文件", "上次关闭文件", "上次关闭文件索引",
                                  "上次关闭文件页码", "上次关闭文件位置", "清除书签信息"}));
    EXPECT_EQ(Slice(names, "页码显示", 3),
              (std::vector<std::string>{"页码显示", "章节标题显示", "页码字体"}));
    EXPECT_EQ(names.back(), "页面字体下划线");
    EXPECT_EQ(Value(SettingsRoot, "注册"), "<missing>");
    EXPECT_EQ(Value(SettingsRoot, "版本"), "<missing>");
}

TEST_F(SettingsStoreTest, CloseThatCannotWriteChangesNothingInTheStoreOrInMemory) {
    Settings s = Start();
    Settings changed = Changed();
    Settings held = changed;
    {
        StoreLock lock(StorePath);
        ASSERT_TRUE(lock.Locked);
        EXPECT_FALSE(Save(Reg, changed));
    }
    EXPECT_EQ(changed, held);
    EXPECT_EQ(Start(), s);
}

TEST_F(SettingsStoreTest, ResetThenCloseStillGivesTheDefaultsAtTheNextStart) {
    Start();
    Settings s = Changed();
    EXPECT_EQ(ResetSettings(Reg), InfoMessage("重新启动《墨卷》即可恢复为默认设置。"));
    EXPECT_EQ(Value(SettingsRoot, "注册"), "");
    ASSERT_TRUE(Save(Reg, s, {"/书/a.txt", 0, 9}));
    Settings next = Start();
    Settings expected;
    EXPECT_EQ(next, expected);
}

TEST_F(SettingsStoreTest, ResetLeavesTheRecentListAndBookmarks) {
    Start();
    Reg.WriteRegStr(FileKey, "最新文件49", "/书/a.txt");
    Reg.WriteRegInt(FileKey, "最新文件顺序0", 49);
    Reg.WriteRegStr(LabelKey, "书签49_1", "12");
    ResetSettings(Reg);
    Start();
    EXPECT_EQ(Value(FileKey, "最新文件49"), "/书/a.txt");
    EXPECT_EQ(Value(FileKey, "最新文件顺序0"), "49");
    EXPECT_EQ(Value(LabelKey, "书签49_1"), "12");
}

TEST_F(SettingsStoreTest, ResetThatCannotWriteSaysSoInsteadOfPromising) {
    Start();
    StoreLock lock(StorePath);
    ASSERT_TRUE(lock.Locked);
    EXPECT_EQ(ResetSettings(Reg), WarningMessage(ResetFailedText));
}

TEST_F(SettingsStoreTest, SettingsGoToTheMachineHiveWhicheverHiveIsSelected) {
    Reg.SetRegHive(HKEY_CLASSES_ROOT);
    Settings s = Start();
    s.BookWidth = 640;
    Save(Reg, s);
    EXPECT_EQ(Reg.Hive(), HKEY_CLASSES_ROOT);
    EXPECT_EQ(Value(SettingsRoot, "注册"), "<missing>");
    Reg.SetRegHive(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(Value(SettingsRoot, "窗口宽度"), "640");
}

} // namespace
