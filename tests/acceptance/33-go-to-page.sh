#!/usr/bin/env bash
# Going to a page: Ctrl+Y opens the yellow pop-up with its up arrow under the pointer; a typed
# number and Enter go there; the arrow keys step the number and a right click on the up arrow
# confirms it; a right click on the face cancels.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menus.sh"
[ -f "$CORPUS/shuihu.gbk.txt" ] || skip "the corpus novel $CORPUS/shuihu.gbk.txt is missing"
start_session
use_readable_page_numbers
novel=$TMPDIR/水浒传.txt
cp "$CORPUS/shuihu.gbk.txt" "$novel"
launch_mojuan "$novel"
expect_pages 1 2 opened

book_move_mouse 300 200
book_key ctrl+y
expect_dialog 指定页
read -r px py pw ph <<<"$(window_geometry "$DIALOG_WID")"
[ "$px $py $pw $ph" = "$((BOOK_X + 300 - 87)) $((BOOK_Y + 200 - 11)) 120 29" ] ||
    fail "the pop-up is at $px,$py size ${pw}x$ph, expected its up arrow under the pointer"
fill_field 25
xdotool key --clearmodifiers Return
expect_pages 25 26 typed-25

book_move_mouse 300 200
book_key ctrl+y
expect_dialog 指定页
xdotool key --clearmodifiers Up Up Up
xdotool click 3 # the pointer is on the up arrow
expect_pages 27 28 stepped-and-right-clicked

book_move_mouse 300 200
book_key ctrl+y
expect_dialog 指定页
fill_field 99
xdotool mousemove --sync $((BOOK_X + 300 - 87 + 20)) $((BOOK_Y + 200 - 11 + 14)) click 3
wait_until "the pop-up to close" 20 no_dialog 指定页
expect_pages 27 28 cancelled
quit_mojuan
pass "the pop-up opened under the pointer; 25 typed showed pages 25-26, three steps and a right click on the arrow 27-28, a right click on the face cancelled"
