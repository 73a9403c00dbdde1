#!/usr/bin/env bash
# Maximising and restoring: Ctrl+I fills the screen and lays the pages out at that size, Ctrl+I
# again puts the book back where it was; closed while maximised, the store keeps the bounds of
# the normal book, and the next start opens maximised and restores to them. A stored position
# off the screen (a monitor unplugged since) starts the book on the screen.
source "$(dirname "$0")/lib.sh"
start_session
use_readable_page_numbers
launch_mojuan "$CORPUS/hongloumeng.gbk.txt"
expect_geometry 100 50 596 380 "at start"
expect_pages 1 2 opened

# odd_pair NAME: the book shows a pair that starts on an odd page (the place is kept in
# proportion to the new page count, so the exact page depends on the fonts).
odd_pair() {
    local l r
    wait_until "a readable page pair ($1)" 20 pages_readable
    read -r l r <<<"$SEEN_PAGES"
    [ $((l % 2)) -eq 1 ] && [ "$r" = $((l + 1)) ] || fail "$1: the book shows pages '$SEEN_PAGES'"
    shot "$1"
    note "pages $SEEN_PAGES shown ($1)"
}
pages_readable() { SEEN_PAGES=$(page_numbers) && [[ "$SEEN_PAGES" =~ ^[0-9]+\ [0-9]+$ ]]; }
screen_w=${SCREEN_SIZE%x*} screen_h=${SCREEN_SIZE#*x}

of_size() { book_geometry && [ "$BOOK_W $BOOK_H" = "$1 $2" ]; }
book_key ctrl+i
wait_until "the book to fill the ${screen_w}x$screen_h screen (it is ${BOOK_W}x$BOOK_H)" 20 \
    of_size "$screen_w" "$screen_h"
odd_pair maximised
book_key ctrl+i
wait_until "the book to return to 596x380 (it is ${BOOK_W}x$BOOK_H)" 20 of_size 596 380
expect_geometry 100 50 596 380 "restored"
odd_pair restored

# Moved, then maximised and closed: the normal bounds are what the store keeps.
book_drag $((596 - 7)) $((380 - 21)) $((596 - 7 + 60)) $((380 - 21 + 40))
at_position() { book_geometry && [ "$BOOK_X $BOOK_Y" = "$1 $2" ]; }
wait_until "the book to move to 160,90 (it is at $BOOK_X,$BOOK_Y)" 20 at_position 160 90
book_key ctrl+i
wait_until "the book to fill the screen again" 20 of_size "$screen_w" "$screen_h"
quit_mojuan
expect_store "" 窗口左位置 160
expect_store "" 窗口上位置 90
expect_store "" 窗口宽度 596
expect_store "" 窗口高度 380
expect_store "" 最大化显示 1

launch_mojuan
wait_until "the book to start maximised (it is ${BOOK_W}x$BOOK_H)" 20 \
    of_size "$screen_w" "$screen_h"
book_key ctrl+i
wait_until "the restarted book to restore to 596x380 (it is ${BOOK_W}x$BOOK_H)" 20 \
    of_size 596 380
expect_geometry 160 90 596 380 "restored after the restart"
quit_mojuan
expect_store "" 最大化显示 0

seed_store "" 窗口左位置 5000 "" 窗口上位置 -300
launch_mojuan
expect_geometry $((screen_w - 596)) 0 596 380 "started from a position off the screen"
quit_mojuan
pass "Ctrl+I maximised a novel to ${screen_w}x$screen_h and restored to 100,50 596x380; closed maximised, the store kept 160,90 596x380 and the next start restored to them; a position off the screen started at $((screen_w - 596)),0"
