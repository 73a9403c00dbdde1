#!/usr/bin/env bash
# The hot areas: a hand cursor over the move area, a diagonal-size cursor over the resize area;
# dragging them moves and resizes the book through the window manager; a drag of a page moves
# the book too, and a later click on a page-turn strip still turns the page and moves nothing.
source "$(dirname "$0")/lib.sh"
[ -f "$CORPUS/shuihu.gbk.txt" ] || skip "the corpus novel $CORPUS/shuihu.gbk.txt is missing"
start_session
use_readable_page_numbers
novel=$TMPDIR/水浒传.txt
cp "$CORPUS/shuihu.gbk.txt" "$novel"
launch_mojuan "$novel"
expect_pages 1 2 opened
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
book_drag $((596 - 7)) $((380 - 21)) $((596 - 7 + 100)) $((380 - 21 + 60)) book_at 200 110
expect_geometry 200 110 596 380 "after moving"
shot moved
# Resizing: drag the resize area 100 right and 80 down.
book_drag $((596 - 7)) $((380 - 7)) $((596 - 7 + 100)) $((380 - 7 + 80)) book_sized 696 460
expect_geometry 200 110 696 460 "after resizing"
wait_until "the pages to be laid out anew" 20 pages_are 1 2
shot resized

# A drag on the left page moves the book and turns no page. The window manager takes over at
# the drag's first motion, so the book moves by a little less than the drag: by more than half
# of it is asked for here.
moved_by_page_drag() { book_geometry && [ "$BOOK_X" -ge 250 ] && [ "$BOOK_Y" -ge 148 ]; }
book_drag 150 200 250 275 moved_by_page_drag
wait_until "the book to settle after the page drag" 10 moved_by_page_drag
read -r left top <<<"$BOOK_X $BOOK_Y"
expect_pages 1 2 after-page-drag
book_click $((BOOK_W - 6)) 200
expect_pages 3 4 strip-click-after-drag
expect_geometry "$left" "$top" 696 460 "after the strip click"
quit_mojuan
expect_store "" 窗口左位置 "$left"
expect_store "" 窗口上位置 "$top"
expect_store "" 窗口宽度 696
expect_store "" 窗口高度 460

# With turning by clicks off, a click on a page turns nothing and must leave no drag behind: a
# click on the strip whose hand trembles a little still turns the page and moves nothing.
seed_store "" 点击页面翻页 0
launch_mojuan
expect_pages 3 4 click-turns-off
book_click 150 200
book_geometry
sx=$((BOOK_X + BOOK_W - 8)) sy=$((BOOK_Y + 200))
xdotool mousemove --sync "$sx" "$sy" mousedown 1
for i in 1 2 3 4 5 6; do
    xdotool mousemove --sync $((sx + i)) "$sy"
    book_geometry # a look at the window between the steps, as the eye of the person clicking
done
xdotool mouseup 1
expect_pages 5 6 trembling-strip-click
expect_geometry "$left" "$top" 696 460 "after the trembling strip click"
quit_mojuan
pass "hand and diagonal cursors over the move and resize areas; moved to 200,110, resized to 696x460, moved to $left,$top by a page drag; strip clicks after a page drag and after a click with turning off turned the page and moved nothing"
