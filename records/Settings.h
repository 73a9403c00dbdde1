#pragma once
// The in-memory record of every persisted option. Read once at start, written once at close;
// every other part of the program reads and changes these fields in memory.
#include "text/PunctuationRule.h"

#include <array>
#include <string>

// A font as the settings keep it. Colour is a 0x00BBGGRR value; charset 134 is GB2312.
struct FontSpec {
    std::string Face = "宋体";
    int Size = 9;
    int Color = 0;
    int Charset = 134;
    bool Bold = false;
    bool Italic = false;
    bool StrikeOut = false;
    bool Underline = false;

    bool operator==(const FontSpec&) const = default;
};

// Text of the user interface and of stored values is UTF-8; document text never lives here.
struct Settings {
    int BookLeft = 100;
    int BookTop = 50;
    int BookWidth = 596;
    int BookHeight = 380;
    bool MoveBook = true;
    bool ResizeBook = true;
    bool DragPageMovesBook = true;
    bool ClickPageTurns = true;
    bool Maximized = false;
    bool AutoPageTurn = false;
    int AutoPageTurnInterval = 0;
    // Automatic reading: paced by the reading speed (characters per minute) rather than turned
    // every AutoPageTurnInterval seconds.
    bool AutoReadPaced = false;
    int ReadingSpeed = 300;
    bool ConvertBig5 = false;
    bool ConvertGb = false;
    bool ProcessHtml = false;
    bool SmartParagraphs = false;
    bool DoubleSpacing = false;
    int Punctuation = static_cast<int>(PunctuationRule::Basic); // a PunctuationRule
    bool ShowUnderline = false;
    int UnderlineColor = 255;
    int UnderlineOffset = 0;
    int UnderlineWidth = 1;
    // Index 0 is page number 1 (the left page), index 1 page number 2 (the right page).
    std::array<std::string, 2> PageNumberPrefix{"第", "第"};
    std::array<std::string, 2> PageNumberSuffix{"页", "页"};
    std::array<std::string, 2> PageNumberPosition{"12", "32"};
    std::array<bool, 2> PageNumberShowTotal{false, false};
    bool UseBackgroundImage = false;
    std::string BackgroundImageFile;
    bool UseBookmarkImage = false;
    std::string BookmarkImageFile;
    bool ShowClock = false;
    std::array<bool, 4> AlarmEnabled{};
    std::array<std::string, 4> AlarmTime{"00:00:00", "00:00:00", "00:00:00", "00:00:00"};
    std::array<std::string, 4> AlarmText{};
    bool FlatButtons = false;
    bool ShowControlButtons = true;
    bool ReorderRecent = false;
    bool ReopenLastFile = true;
    int LastFileIndex = 0;
    std::string LastFile;
    int LastFilePage = 0;
    // The text position of the last document's place ("chunk,offset"), beside its page; empty
    // in older stores, which restore the page.
    std::string LastFilePlace;
    bool ClearBookmarksOnReopen = false;
    bool ClearRecentOnLibraryOpen = true;
    bool AutoConvert = true;
    bool ShowPageNumbers = true;
    // The current chapter's title at the top of the left page.
    bool ShowRunningHead = true;
    FontSpec PageNumberFont;
    FontSpec PageFont;

    bool operator==(const Settings&) const = default;
};
