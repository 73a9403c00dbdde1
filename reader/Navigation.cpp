#include "Navigation.h"

KeyAction KeyMapAction(int virtualKey) {
    switch (virtualKey) {
    case vk::Back:
        return KeyAction::PreviousPage;
    case vk::Return:
    case vk::KeyO:
        return KeyAction::Open;
    case vk::Space:
    case vk::Next:
    case vk::Right:
    case vk::OemPlus:
        return KeyAction::StripNext;
    case vk::Prior:
    case vk::Left:
    case vk::OemMinus:
        return KeyAction::StripPrev;
    case vk::End:
        return KeyAction::ItemPageLast;
    case vk::Home:
        return KeyAction::ItemPageFirst;
    case vk::Up:
        return KeyAction::Up;
    case vk::Down:
        return KeyAction::Down;
    case vk::OemComma:
        return KeyAction::ItemFilePrev;
    case vk::OemPeriod:
        return KeyAction::ItemFileNext;
    default:
        return KeyAction::None;
    }
}

PageMenuState PageMenuStateFor(int currentPage, int pageCount, int currentIndex, int recentCount) {
    PageMenuState s;
    s.PagePrev = s.PageFirst = currentPage > 1;
    s.PageNext = s.PageLast = currentPage < pageCount - 1;
    s.InputYe = pageCount > 2;
    s.FilePrev = currentIndex > 0;
    s.FileNext = currentIndex >= 0 && currentIndex < recentCount - 1;
    return s;
}

UnderlineStep MoveUnderLine(UnderlinePlace from, int delta, const UnderlineContext& book) {
    UnderlineStep step;
    step.Place = from;
    UnderlinePlace& at = step.Place;
    at.Line += delta;
    if (at.Line <= 0) {
        if (at.RightPage) {
            at = {false, book.LinesPerPage};
        } else if (book.CurrentPage < 3) {
            at.Line = 1;
        } else {
            step.Turn = PageTurn::Previous;
            at = {true, book.LinesPerPage};
        }
    }
    if (at.Line > book.LinesPerPage) {
        if (!at.RightPage) {
            if (book.PageCount < book.CurrentPage + 1)
                at.Line = book.LinesPerPage;
            else
                at = {true, 1};
        } else if (book.PageCount < book.CurrentPage + 2 ||
                   (book.AutoPageTurn && book.ShowUnderline)) {
            at.Line = book.LinesPerPage;
        } else {
            step.Turn = PageTurn::Next;
            at = {false, 1};
        }
    }
    return step;
}

int UnderlineTop(int pageTop, int offset, int linePitch, int line, bool doubleSpacing) {
    const int n = doubleSpacing ? 2 * line - 1 : line;
    return pageTop + offset + linePitch * n;
}
