#include "SettingsStore.h"

#include "AlarmSchedule.h"

#include <cstdio>

namespace {

const Settings Defaults{};

constexpr char MarkName[] = "注册";
constexpr char PageNumberFontWord[] = "页码字体";
constexpr char PageFontWord[] = "页面字体";
// Sizes outside this range cannot come from the font dialog and would leave no room for a line.
constexpr int MinFontSize = 1;
constexpr int MaxFontSize = 500;

// The three ways the field list is walked: writing the table defaults on a first run, reading
// every field at start, and writing every field at close.
struct DefaultWriter {
    Registry& Reg;
    void Int(std::string_view key, std::string_view name, int&, int def) {
        Reg.WriteRegInt(key, name, def);
    }
    void Bool(std::string_view key, std::string_view name, bool&, bool def) {
        Reg.WriteRegBool(key, name, def);
    }
    void Str(std::string_view key, std::string_view name, std::string&, const std::string& def) {
        Reg.WriteRegStr(key, name, def);
    }
    void Time(std::string_view key, std::string_view name, std::string&) {
        Reg.WriteRegStr(key, name, DefaultAlarmTime);
    }
};

struct FieldReader {
    Registry& Reg;
    void Int(std::string_view key, std::string_view name, int& field, int def) {
        field = Reg.ReadRegInt(key, name, def);
    }
    void Bool(std::string_view key, std::string_view name, bool& field, bool def) {
        field = Reg.ReadRegBool(key, name, def);
    }
    void Str(std::string_view key, std::string_view name, std::string& field,
             const std::string& def) {
        field = Reg.ReadRegStr(key, name, def);
    }
    void Time(std::string_view key, std::string_view name, std::string& field) {
        field = NormalizeAlarmTime(Reg.ReadRegStr(key, name, DefaultAlarmTime));
    }
};

struct FieldWriter {
    Registry& Reg;
    void Int(std::string_view key, std::string_view name, int& field, int) {
        Reg.WriteRegInt(key, name, field);
    }
    void Bool(std::string_view key, std::string_view name, bool& field, bool) {
        Reg.WriteRegBool(key, name, field);
    }
    void Str(std::string_view key, std::string_view name, std::string& field, const std::string&) {
        Reg.WriteRegStr(key, name, field);
    }
    void Time(std::string_view key, std::string_view name, std::string& field) {
        Reg.WriteRegStr(key, name, NormalizeAlarmTime(field));
    }
};

template <class V> void VisitBounds(V& v, Settings& s) {
    v.Int(SettingsRoot, "窗口左位置", s.BookLeft, Defaults.BookLeft);
    v.Int(SettingsRoot, "窗口上位置", s.BookTop, Defaults.BookTop);
    v.Int(SettingsRoot, "窗口宽度", s.BookWidth, Defaults.BookWidth);
    v.Int(SettingsRoot, "窗口高度", s.BookHeight, Defaults.BookHeight);
}

template <class V> void VisitPageNumber(V& v, Settings& s, int i) {
    std::string n = std::to_string(i + 1);
    v.Str(SettingsRoot, "页码" + n + "前缀", s.PageNumberPrefix[i], Defaults.PageNumberPrefix[i]);
    v.Str(SettingsRoot, "页码" + n + "后缀", s.PageNumberSuffix[i], Defaults.PageNumberSuffix[i]);
    v.Str(SettingsRoot, "页码" + n + "位置", s.PageNumberPosition[i],
          Defaults.PageNumberPosition[i]);
    v.Bool(SettingsRoot, "页码" + n + "显示总页数", s.PageNumberShowTotal[i],
           Defaults.PageNumberShowTotal[i]);
}

// The root fields from MoveBook through ShowClock.
template <class V> void VisitWindowAndText(V& v, Settings& s) {
    const Settings& d = Defaults;
    v.Bool(SettingsRoot, "窗口移动", s.MoveBook, d.MoveBook);
    v.Bool(SettingsRoot, "窗口改变大小", s.ResizeBook, d.ResizeBook);
    v.Bool(SettingsRoot, "点击页面移动", s.DragPageMovesBook, d.DragPageMovesBook);
    v.Bool(SettingsRoot, "点击页面翻页", s.ClickPageTurns, d.ClickPageTurns);
    v.Bool(SettingsRoot, "最大化显示", s.Maximized, d.Maximized);
    v.Bool(SettingsRoot, "自动翻页", s.AutoPageTurn, d.AutoPageTurn);
    v.Int(SettingsRoot, "自动翻页时间", s.AutoPageTurnInterval, d.AutoPageTurnInterval);
    v.Bool(SettingsRoot, "按阅读速度翻页", s.AutoReadPaced, d.AutoReadPaced);
    v.Int(SettingsRoot, "阅读速度", s.ReadingSpeed, d.ReadingSpeed);
    v.Bool(SettingsRoot, "处理BIG5码文件标志", s.ConvertBig5, d.ConvertBig5);
    v.Bool(SettingsRoot, "处理GB码文件标志", s.ConvertGb, d.ConvertGb);
    v.Bool(SettingsRoot, "处理HTML文件标志", s.ProcessHtml, d.ProcessHtml);
    v.Bool(SettingsRoot, "智能分段标志", s.SmartParagraphs, d.SmartParagraphs);
    v.Bool(SettingsRoot, "行距加倍标志", s.DoubleSpacing, d.DoubleSpacing);
    v.Int(SettingsRoot, "标点避头尾", s.Punctuation, d.Punctuation);
    v.Bool(SettingsRoot, "下划线标志", s.ShowUnderline, d.ShowUnderline);
    v.Int(SettingsRoot, "下划线颜色", s.UnderlineColor, d.UnderlineColor);
    v.Int(SettingsRoot, "下划线距离", s.UnderlineOffset, d.UnderlineOffset);
    v.Int(SettingsRoot, "下划线宽度", s.UnderlineWidth, d.UnderlineWidth);
    VisitPageNumber(v, s, 0);
    VisitPageNumber(v, s, 1);
    v.Bool(SettingsRoot, "背景图片", s.UseBackgroundImage, d.UseBackgroundImage);
    v.Str(SettingsRoot, "背景图片文件", s.BackgroundImageFile, d.BackgroundImageFile);
    v.Bool(SettingsRoot, "书签图片", s.UseBookmarkImage, d.UseBookmarkImage);
    v.Str(SettingsRoot, "书签图片文件", s.BookmarkImageFile, d.BookmarkImageFile);
    v.Bool(SettingsRoot, "显示时间", s.ShowClock, d.ShowClock);
}

std::string Slot(const char* word, int i) {
    return word + std::to_string(i + 1);
}

// The table lists the four flags, then the four times, then the four texts.
template <class V> void VisitAlarmsInTableOrder(V& v, Settings& s) {
    for (int i = 0; i < 4; ++i)
        v.Bool(AlarmKey, Slot("定时提醒", i), s.AlarmEnabled[i], Defaults.AlarmEnabled[i]);
    for (int i = 0; i < 4; ++i)
        v.Time(AlarmKey, Slot("定时提醒时间", i), s.AlarmTime[i]);
    for (int i = 0; i < 4; ++i)
        v.Str(AlarmKey, Slot("显示内容", i), s.AlarmText[i], Defaults.AlarmText[i]);
}

// The close writes the three values of one slot together.
template <class V> void VisitAlarmSlot(V& v, Settings& s, int i) {
    v.Bool(AlarmKey, Slot("定时提醒", i), s.AlarmEnabled[i], Defaults.AlarmEnabled[i]);
    v.Time(AlarmKey, Slot("定时提醒时间", i), s.AlarmTime[i]);
    v.Str(AlarmKey, Slot("显示内容", i), s.AlarmText[i], Defaults.AlarmText[i]);
}

template <class V> void VisitButtonsAndRecent(V& v, Settings& s) {
    const Settings& d = Defaults;
    v.Bool(SettingsRoot, "浮动式按钮", s.FlatButtons, d.FlatButtons);
    v.Bool(SettingsRoot, "显示界面控制按钮", s.ShowControlButtons, d.ShowControlButtons);
    v.Bool(SettingsRoot, "改变最新文件顺序", s.ReorderRecent, d.ReorderRecent);
    v.Bool(SettingsRoot, "打开上次关闭时候的文件", s.ReopenLastFile, d.ReopenLastFile);
}

template <class V> void VisitLastFile(V& v, Settings& s) {
    v.Int(FileKey, "上次关闭文件索引", s.LastFileIndex, Defaults.LastFileIndex);
    v.Str(FileKey, "上次关闭文件", s.LastFile, Defaults.LastFile);
    v.Int(FileKey, "上次关闭文件页码", s.LastFilePage, Defaults.LastFilePage);
    v.Str(FileKey, "上次关闭文件位置", s.LastFilePlace, Defaults.LastFilePlace);
}

template <class V> void VisitOpeningOptions(V& v, Settings& s) {
    const Settings& d = Defaults;
    v.Bool(SettingsRoot, "清除书签信息", s.ClearBookmarksOnReopen, d.ClearBookmarksOnReopen);
    v.Bool(SettingsRoot, "清除最新文件", s.ClearRecentOnLibraryOpen, d.ClearRecentOnLibraryOpen);
    v.Bool(SettingsRoot, "自动转换为GB/BIG5码", s.AutoConvert, d.AutoConvert);
    v.Bool(SettingsRoot, "页码显示", s.ShowPageNumbers, d.ShowPageNumbers);
    v.Bool(SettingsRoot, "章节标题显示", s.ShowRunningHead, d.ShowRunningHead);
}

void WriteFont(Registry& reg, const std::string& word, const FontSpec& font) {
    reg.WriteRegStr(FontKey, word, font.Face);
    reg.WriteRegInt(FontKey, word + "大小", font.Size);
    reg.WriteRegInt(FontKey, word + "颜色", font.Color);
    reg.WriteRegInt(FontKey, word + "语系", font.Charset);
    reg.WriteRegBool(FontKey, word + "粗体", font.Bold);
    reg.WriteRegBool(FontKey, word + "斜体", font.Italic);
    reg.WriteRegBool(FontKey, word + "删除线", font.StrikeOut);
    reg.WriteRegBool(FontKey, word + "下划线", font.Underline);
}

// Each value defaults to what the font already holds; the style starts cleared.
void ReadFont(Registry& reg, const std::string& word, FontSpec& font) {
    font.Face = reg.ReadRegStr(FontKey, word, font.Face);
    int size = reg.ReadRegInt(FontKey, word + "大小", font.Size);
    if (size >= MinFontSize && size <= MaxFontSize)
        font.Size = size;
    font.Color = reg.ReadRegInt(FontKey, word + "颜色", font.Color);
    int charset = reg.ReadRegInt(FontKey, word + "语系", font.Charset);
    if (charset >= 0 && charset <= 255)
        font.Charset = charset;
    font.Bold = reg.ReadRegBool(FontKey, word + "粗体", false);
    font.Italic = reg.ReadRegBool(FontKey, word + "斜体", false);
    font.StrikeOut = reg.ReadRegBool(FontKey, word + "删除线", false);
    font.Underline = reg.ReadRegBool(FontKey, word + "下划线", false);
}

// The fields in table order, for the first-run write and the start-up read.
template <class V> void VisitTable(V& v, Settings& s) {
    VisitBounds(v, s);
    VisitWindowAndText(v, s);
    VisitAlarmsInTableOrder(v, s);
    VisitButtonsAndRecent(v, s);
    VisitLastFile(v, s);
    VisitOpeningOptions(v, s);
}

// A slot 0 that is unset (or unreadable as a number) means the recent list has no order yet.
// A store that could not be read is left alone rather than overwritten.
void WriteOrderSlotsIfUnset(Registry& reg) {
    std::string text;
    if (reg.ReadRegValue(FileKey, RecentOrderSlotName(0), text) == RegRead::Failed ||
        reg.ReadRegInt(FileKey, RecentOrderSlotName(0), -1) != -1)
        return;
    RegBatch batch(reg);
    for (int i = 0; i < OrderSlotCount; ++i)
        reg.WriteRegInt(FileKey, RecentOrderSlotName(i), i);
}

bool IsFirstRun(Registry& reg) {
    std::string mark;
    RegRead read = reg.ReadRegValue(SettingsRoot, MarkName, mark);
    return read == RegRead::Missing || (read == RegRead::Found && mark != FirstRunMark);
}

// One transaction, the mark last: a start interrupted half-way writes the defaults again.
void WriteDefaults(Registry& reg, Settings& s) {
    RegBatch batch(reg);
    DefaultWriter writer{reg};
    VisitTable(writer, s);
    WriteFont(reg, PageNumberFontWord, s.PageNumberFont);
    WriteFont(reg, PageFontWord, s.PageFont);
    reg.WriteRegStr(SoundKey, "背景音乐文件0", "");
    reg.WriteRegBool(SoundKey, "重复播放", false);
    reg.WriteRegStr(SettingsRoot, MarkName, FirstRunMark);
}

void WriteBounds(Registry& reg, const WindowBounds& b) {
    reg.WriteRegInt(SettingsRoot, "窗口左位置", b.Left);
    reg.WriteRegInt(SettingsRoot, "窗口上位置", b.Top);
    reg.WriteRegInt(SettingsRoot, "窗口宽度", b.Width);
    reg.WriteRegInt(SettingsRoot, "窗口高度", b.Height);
}

void WriteLastDocument(Registry& reg, const LastDocument& last) {
    bool open = !last.DocumentName.empty();
    reg.WriteRegStr(FileKey, "上次关闭文件", open ? last.DocumentName : "");
    reg.WriteRegInt(FileKey, "上次关闭文件索引", open ? last.CurrentIndex : -1);
    reg.WriteRegInt(FileKey, "上次关闭文件页码", open ? last.CurrentPage : 0);
    reg.WriteRegStr(FileKey, "上次关闭文件位置", open ? TextPositionText(last.Place) : "");
}

bool ParseTwoDigits(std::string_view text, int max, int& value) {
    if (text.size() != 2 || text[0] < '0' || text[0] > '9' || text[1] < '0' || text[1] > '9')
        return false;
    value = (text[0] - '0') * 10 + (text[1] - '0');
    return value <= max;
}

// A slot whose stored time is not a time of day reads "00:00:00" and is switched off, so a
// damaged store never rings at midnight.
void DisableUnreadableAlarms(Registry& reg, Settings& s) {
    for (int i = 0; i < AlarmSlots; ++i)
        if (!AlarmSecondOfDay(reg.ReadRegStr(AlarmKey, Slot("定时提醒时间", i), DefaultAlarmTime)))
            s.AlarmEnabled[i] = false;
}

} // namespace

std::string NormalizeAlarmTime(std::string_view text) {
    std::size_t first = text.find(':');
    std::size_t second = first == std::string_view::npos ? first : text.find(':', first + 1);
    if (second == std::string_view::npos)
        return DefaultAlarmTime;
    std::string_view hours = text.substr(0, first);
    int h = 0, m = 0, s = 0;
    bool oneDigitHour = hours.size() == 1 && hours[0] >= '0' && hours[0] <= '9';
    if (oneDigitHour)
        h = hours[0] - '0';
    if ((!oneDigitHour && !ParseTwoDigits(hours, 23, h)) ||
        !ParseTwoDigits(text.substr(first + 1, second - first - 1), 59, m) ||
        !ParseTwoDigits(text.substr(second + 1), 59, s))
        return DefaultAlarmTime;
    char formatted[16];
    std::snprintf(formatted, sizeof formatted, "%02d:%02d:%02d", h, m, s);
    return formatted;
}

void LoadSettings(Registry& reg, Settings& settings) {
    ScopedHive hive(reg, HKEY_LOCAL_MACHINE);
    reg.WriteRegStr(SettingsRoot, "版本", StoreVersion);
    WriteOrderSlotsIfUnset(reg);
    if (IsFirstRun(reg))
        WriteDefaults(reg, settings);
    FieldReader reader{reg};
    VisitTable(reader, settings);
    if (settings.Punctuation < static_cast<int>(PunctuationRule::Off) ||
        settings.Punctuation > static_cast<int>(PunctuationRule::Strict))
        settings.Punctuation = Defaults.Punctuation;
    DisableUnreadableAlarms(reg, settings);
    ReadFont(reg, PageNumberFontWord, settings.PageNumberFont);
    ReadFont(reg, PageFontWord, settings.PageFont);
}

bool SaveSettings(Registry& reg, Settings& settings, const WindowBounds& current, bool maximized,
                  const WindowBounds& normalBounds, const LastDocument& last) {
    settings.BookLeft = current.Left;
    settings.BookTop = current.Top;
    settings.BookWidth = current.Width;
    settings.BookHeight = current.Height;
    ScopedHive hive(reg, HKEY_LOCAL_MACHINE);
    RegBatch batch(reg);
    WriteBounds(reg, maximized ? normalBounds : current);
    FieldWriter writer{reg};
    VisitWindowAndText(writer, settings);
    for (int i = 0; i < 4; ++i)
        VisitAlarmSlot(writer, settings, i);
    VisitButtonsAndRecent(writer, settings);
    WriteLastDocument(reg, last);
    VisitOpeningOptions(writer, settings);
    WriteFont(reg, PageNumberFontWord, settings.PageNumberFont);
    WriteFont(reg, PageFontWord, settings.PageFont);
    return batch.Commit();
}

UserMessage ResetSettings(Registry& reg) {
    ScopedHive hive(reg, HKEY_LOCAL_MACHINE);
    if (!reg.WriteRegStr(SettingsRoot, MarkName, ""))
        return WarningMessage(ResetFailedText);
    return InfoMessage(ResetDoneText);
}
