#pragma once
// Qt's key codes as the virtual-key numbers that the book's keyboard map is written in.
#include <QKeyEvent>

// 0 for a key the map does not know. Keypad plus and minus are keys of their own, not the
// plus and minus keys of the main block.
int VirtualKeyOf(const QKeyEvent& event);

// The chapter keys: -1 for [ and Ctrl+PageUp, +1 for ] and Ctrl+PageDown, else 0.
int ChapterStepOf(const QKeyEvent& event);
