#pragma once
// What a document's record keeps about its chapters, under its storage index in the File key:
// the user's own chapter pattern and the title of the chapter where reading stopped.
#include "Registry.h"

#include <string>

inline std::string ChapterPatternName(int s) {
    return "目录规则" + std::to_string(s);
}
inline std::string LastChapterName(int s) {
    return "阅读章节" + std::to_string(s);
}

// Empty for a storage index outside the list's.
std::string ReadChapterPattern(Registry& reg, int storageIndex);
void WriteChapterPattern(Registry& reg, int storageIndex, const std::string& utf8);
std::string ReadLastChapter(Registry& reg, int storageIndex);
void WriteLastChapter(Registry& reg, int storageIndex, const std::string& utf8);
// Both forgotten, when the storage index passes to another document.
void ClearChapterRecord(Registry& reg, int storageIndex);

// A recent-list caption with the first word of the chapter where reading stopped:
// "1) 红楼梦.txt — 第五回".
std::string CaptionWithChapter(const std::string& caption, const std::string& chapter);
