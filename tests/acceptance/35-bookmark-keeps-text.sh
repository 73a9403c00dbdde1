#!/usr/bin/env bash
# A bookmark leads to its text at any size: one added on pages 301-302 of a long document, the
# book maximised (other pages, other page numbers), then followed from the bookmark submenu:
# the line that stood first on page 301 is on the screen again.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menus.sh"
start_session
use_readable_page_numbers
# The page text in pure green, so that its ink can be told from the skin.
seed_store Font 页面字体颜色 $((0x00FF00))
doc=$TMPDIR/lines.txt
# Lines that look different from each other, too short to wrap at either size.
python3 - "$doc" <<'PY'
import random, sys
random.seed(7)
with open(sys.argv[1], "w") as f:
    for i in range(1, 30001):
        f.write("%05d %s\r\n" % (i, "".join(random.choice("ABCDEFGHIJKLMNOPQRSTUVWXYZ") for _ in range(12))))
PY
launch_mojuan "$doc"
expect_pages 1 2 opened

book_move_mouse 300 200
book_key ctrl+y
expect_dialog 指定页
xdotool type --delay 40 301
xdotool key --clearmodifiers Return
expect_pages 301 302 at-301
shot before
book_ppm "$LAST_SHOT"
python3 "$ACC_DIR/screen.py" line "$SESSION/book.ppm" "$SESSION/line.txt"
[ "$(wc -c <"$SESSION/line.txt")" -gt 100 ] || fail "no text line found on page 301"

book_key ctrl+l
expect_dialog 添加书签
xdotool key --clearmodifiers Return
wait_until "the caption dialog to close" 20 no_dialog 添加书签
wait_until "the bookmark to be stored" 10 store_is Label 49书签0 301
place=$(store_value Label 49书签位置0)
[[ "$place" =~ ^[0-9]+,[0-9]+$ ]] || fail "the bookmark's text position is '$place'"

screen_w=${SCREEN_SIZE%x*} screen_h=${SCREEN_SIZE#*x}
of_size() { book_geometry && [ "$BOOK_W $BOOK_H" = "$1 $2" ]; }
book_key ctrl+i
wait_until "the book to fill the screen (it is ${BOOK_W}x$BOOK_H)" 20 of_size "$screen_w" "$screen_h"
book_key Home
expect_pages 1 2 maximised-home
follow_first_bookmark
pages_readable() { SEEN_PAGES=$(page_numbers) && [[ "$SEEN_PAGES" =~ ^[0-9]+\ [0-9]+$ ]]; }
wait_until "a page pair after following the bookmark" 20 pages_readable
[ "$SEEN_PAGES" != "1 2" ] || fail "following the bookmark stayed on pages 1-2"
line_shown() {
    book_ppm_now && [ "$(python3 "$ACC_DIR/screen.py" holds "$SESSION/book.ppm" "$SESSION/line.txt")" = yes ]
}
wait_until "the bookmarked line to be on the screen (pages $SEEN_PAGES)" 20 line_shown
shot followed
quit_mojuan
pass "a bookmark added on pages 301-302 (text position $place), followed maximised, showed pages $SEEN_PAGES with the same first line on the screen"
