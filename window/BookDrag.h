#pragma once
// Dragging the book by a page: a left press on the book or a page arms a drag, the first move
// with the button down hands the window to the window manager's move, and the release that
// ends such a move turns no page. Every press and every release decides the state afresh, so
// no state left over from an earlier press can turn a later click into a move.
#include "BookGeometry.h"

enum class DragState { Idle, Armed, Moving };

// What the book's settings and state allow for dragging.
struct DragRules {
    bool MoveBook = true;
    bool DragPageMovesBook = true;
    bool Maximized = false;
};

inline bool IsPagePart(BookPart part) {
    return part == BookPart::ImageBook || part == BookPart::LabelPage1 ||
           part == BookPart::LabelPage2;
}

inline DragState DragStateAtPress(BookPart part, bool leftButton, const DragRules& rules) {
    const bool armed = leftButton && IsPagePart(part) && rules.MoveBook &&
                       rules.DragPageMovesBook && !rules.Maximized;
    return armed ? DragState::Armed : DragState::Idle;
}

// Whether a left release over a page part is a click that turns the page.
inline bool ReleaseTurnsPage(DragState state, bool clickPageTurns) {
    return clickPageTurns && state != DragState::Moving;
}
