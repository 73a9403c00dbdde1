#include "ChapterRecord.h"

#include "RecentState.h"
#include "SettingsStore.h"

#include <algorithm>

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

// Of the title only its first word (第五回 of "第五回  游幻境指迷十二钗"): the caption stays short.
std::string CaptionWithChapter(const std::string& caption, const std::string& chapter) {
    const std::size_t space = std::min(chapter.find(' '), chapter.find("　"));
    const std::string word = chapter.substr(0, space);
    return word.empty() ? caption : caption + " — " + word;
}
