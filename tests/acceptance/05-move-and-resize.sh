#!/usr/bin/env bash
# The hot areas: a hand cursor over the move area, a diagonal-size cursor over the resize area;
# dragging them moves and resizes the book through the window manager; a drag of a page moves
# the book too, and a later click on a page-turn strip still turns the page and moves nothing.
source "$(dirname "$0")/lib.sh"
start_session
use_readable_page_numbers
launch_mojuan
expect_pages 1 2 help-text
expect_geometry 100 50 596 380 "at start"

# The three cursors must look different here, or the checks below could not fail.
reference_cursor arrow; arrow=$REFERENCE_CURSOR
reference_cursor hand; hand=$REFERENCE_CURSOR
reference_cursor fdiag; fdiag=$REFERENCE_CURSOR
[ "$arrow" != "$hand" ] && [ "$hand" != "$fdiag" ] && [ "$arrow" != "$fdiag" ] ||
    fail "the arrow, hand and diagonal cursors look alike on this display"

expect_cursor_at 150 200 arrow "the left page"
expect_cursor_at $((596 - 7)) $((380 - 21)) hand "the move area"
expect_cursor_at $((596 - 7)) $((380 - 7)) fdiag "the resize area"

# Moving: drag the move area 100 right and 60 down.
book_drag $((596 - 7)) $((380 - 21)) $((596 - 7 + 100)) $((380 - 21 + 60))
at_position() { book_geometry && [ "$BOOK_X $BOOK_Y" = "$1 $2" ]; }
wait_until "the book to move to 200,110 (it is at $BOOK_X,$BOOK_Y)" 20 at_position 200 110
expect_geometry 200 110 596 380 "after moving"
shot moved
# Resizing: drag the resize area 100 right and 80 down.
book_drag $((596 - 7)) $((380 - 7)) $((596 - 7 + 100)) $((380 - 7 + 80))
of_size() { book_geometry && [ "$BOOK_W $BOOK_H" = "$1 $2" ]; }
wait_until "the book to become 696x460 (it is ${BOOK_W}x$BOOK_H)" 20 of_size 696 460
expect_geometry 200 110 696 460 "after resizing"
expect_pages 1 2 resized

# A drag on the left page moves the book; a later click on the right strip turns the page.
book_drag 150 200 190 230
wait_until "the page drag to move the book to 240,140 (it is at $BOOK_X,$BOOK_Y)" 20 at_position 240 140
expect_pages 1 2 after-page-drag
book_click $((BOOK_W - 6)) 200
expect_pages 3 4 strip-click-after-drag
expect_geometry 240 140 696 460 "after the strip click"
quit_mojuan
expect_store "" 窗口左位置 240
expect_store "" 窗口上位置 140
expect_store "" 窗口宽度 696
expect_store "" 窗口高度 460
pass "hand and diagonal cursors over the move and resize areas; moved to 200,110, resized to 696x460, moved by a page drag; the strip click after it turned the page and moved nothing"
