#include "ChapterRecord.h"

#include "RecentState.h"
#include "SettingsStore.h"

namespace {

bool Stored(int s) {
    return s >= 0 && s < MaxRecentFiles;
}

std::string Read(Registry& reg, const std::string& name) {
    ScopedHive hive(reg, HKEY_LOCAL_MACHINE);
    return reg.ReadRegStr(FileKey, name, "");
}

void Write(Registry& reg, const std::string& name, const std::string& value) {
    ScopedHive hive(reg, HKEY_LOCAL_MACHINE);
    if (reg.ReadRegStr(FileKey, name, "") != value)
        reg.WriteRegStr(FileKey, name, value);
}

} // namespace

std::string ReadChapterPattern(Registry& reg, int storageIndex) {
    return Stored(storageIndex) ? Read(reg, ChapterPatternName(storageIndex)) : std::string();
}

void WriteChapterPattern(Registry& reg, int storageIndex, const std::string& utf8) {
    if (Stored(storageIndex))
        Write(reg, ChapterPatternName(storageIndex), utf8);
}

std::string ReadLastChapter(Registry& reg, int storageIndex) {
    return Stored(storageIndex) ? Read(reg, LastChapterName(storageIndex)) : std::string();
}

void WriteLastChapter(Registry& reg, int storageIndex, const std::string& utf8) {
    if (Stored(storageIndex))
        Write(reg, LastChapterName(storageIndex), utf8);
}

void ClearChapterRecord(Registry& reg, int storageIndex) {
    WriteChapterPattern(reg, storageIndex, "");
    WriteLastChapter(reg, storageIndex, "");
}

std::string CaptionWithChapter(const std::string& caption, const std::string& chapter) {
    return chapter.empty() ? caption : caption + " — " + chapter;
}
