#pragma once
// The settings' side of start-up and close: the first-run defaults, the read of every field at
// start, the write of every field at close and the reset to defaults. The main window calls
// these with the registry and the values it holds; nothing here knows about widgets.
#include "Registry.h"
#include "Settings.h"
#include "reader/UserMessage.h"

#include <string>
#include <string_view>

inline constexpr char SettingsRoot[] = "Software\\Vesk\\Norvane";
inline constexpr char FileKey[] = "Software\\Vesk\\Norvane\\File";
inline constexpr char LabelKey[] = "Software\\Vesk\\Norvane\\Label";
inline constexpr char FontKey[] = "Software\\Vesk\\Norvane\\Font";
inline constexpr char AlarmKey[] = "Software\\Vesk\\Norvane\\Alarm";
inline constexpr char SoundKey[] = "Software\\Vesk\\Norvane\\Sound";

// "注册" holds this once the defaults have been written; anything else means a first run.
inline constexpr char FirstRunMark[] = "Vesk";
inline constexpr char StoreVersion[] = "001";
inline constexpr int OrderSlotCount = 50;
// The recent list's order slot p and the entry text stored under storage index s.
inline std::string RecentOrderSlotName(int p) {
    return "最新文件顺序" + std::to_string(p);
}
inline std::string RecentTextName(int s) {
    return "最新文件" + std::to_string(s);
}
// The encoding chosen for the document stored under storage index s; empty: recognised.
inline std::string RecentEncodingName(int s) {
    return "文字编码" + std::to_string(s);
}
inline constexpr char DefaultAlarmTime[] = "00:00:00";
inline constexpr char ResetDoneText[] = "重新启动《墨卷》即可恢复为默认设置。";
inline constexpr char ResetFailedText[] = "无法恢复默认设置：设置文件无法写入。";
inline constexpr char CloseNotSavedText[] =
    "设置文件正被另一个程序使用或无法写入，本次的设置和阅读位置没有保存。";

struct WindowBounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const WindowBounds&) const = default;
};

// What the close writes as the last document: the open document's recent-list text (empty for
// the built-in help text), its position in the recent list and the page shown.
struct LastDocument {
    std::string DocumentName;
    int CurrentIndex = -1;
    int CurrentPage = 0;
};

// Start-up, after the file associations: writes "版本", the fifty order slots when slot 0 is
// unset, every default on a first run (the fonts as `settings` holds them), then reads every
// field in table order. A store that cannot be read is never taken for a first run.
void LoadSettings(Registry& reg, Settings& settings);

// Close: copies `current` into the bounds fields and writes every field, the bounds as
// `normalBounds` when the window is maximised, and the last document, as one transaction.
// False when the store could not be written; `settings` is kept either way.
bool SaveSettings(Registry& reg, Settings& settings, const WindowBounds& current, bool maximized,
                  const WindowBounds& normalBounds, const LastDocument& last);

// The restore-defaults choice of the settings dialog: clears the first-run mark, so the next
// start writes every default. Gives what to tell the user: an information when it was done, a
// warning when the store could not be written.
UserMessage ResetSettings(Registry& reg);

// An alarm time as "HH:MM:SS"; a text that is not a time of day gives "00:00:00".
std::string NormalizeAlarmTime(std::string_view text);
