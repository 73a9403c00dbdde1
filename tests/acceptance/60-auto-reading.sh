#!/usr/bin/env bash
# Paced automatic reading of a GBK novel at a high speed: "a" starts it, the underline walks
# down the lines and the pair turns by itself; minus slows it (the speed is kept at close) and
# any other key pauses it.
source "$(dirname "$0")/lib.sh"
[ -f "$CORPUS/shuihu.gbk.txt" ] || skip "the corpus novel $CORPUS/shuihu.gbk.txt is missing"
start_session
use_readable_page_numbers
seed_store "" 按阅读速度翻页 1 "" 阅读速度 12000 "" 下划线标志 1
novel=$TMPDIR/水浒传.txt
cp "$CORPUS/shuihu.gbk.txt" "$novel"
launch_mojuan "$novel"
expect_pages 1 2 opened
read -r ux uy <<<"$(underline_at)"
[ "$ux" != "-" ] || fail "no underline is shown"
book_key a
wait_until "the underline to move down" 10 not underline_is "$ux" "$uy"
shot reading
read -r x y <<<"$SEEN_UNDERLINE"
[ "$y" -gt "$uy" ] || [ "$x" -gt "$ux" ] || fail "the underline went from $ux,$uy to $x,$y"
note "the underline moved from $ux,$uy to $x,$y"
book_key minus
wait_until "the pair to turn by itself" 60 pages_turned_from 1 2
[ "$SEEN_PAGES" = "3 4" ] || fail "reading turned to '$SEEN_PAGES' instead of 3 4"
shot turned

# Any other key pauses: the underline stays where it is from then on.
book_key x
stays_put() {
    local at looks=0
    at=$(underline_at) || return 1
    while [ "$looks" -lt 8 ]; do
        [ "$(underline_at)" = "$at" ] || return 1
        looks=$((looks + 1))
    done
    SEEN_UNDERLINE=$at
}
wait_until "the underline to stop" 20 stays_put
[ "$SEEN_UNDERLINE" != "-" ] || fail "the underline went away at the pause"
shot paused
pages_are 3 4 || fail "the book shows '$SEEN_PAGES' after the pause, expected 3 4"
quit_mojuan
expect_store "" 阅读速度 10909
pass "paced reading moved the underline and turned to pages 3-4, minus slowed it to 10909 characters a minute, and a key paused it at $SEEN_UNDERLINE"
