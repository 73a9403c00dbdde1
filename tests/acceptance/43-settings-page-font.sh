#!/usr/bin/env bash
# The settings dialog: Ctrl+S opens it, a larger page font chosen through "图书字体..." re-flows
# the novel at the same place when OK is pressed, and the next start finds the font kept and
# reopens the novel at the same pair.
source "$(dirname "$0")/lib.sh"
start_session
use_readable_page_numbers
launch_mojuan "$CORPUS/hongloumeng.gbk.txt"
expect_pages 1 2 opened
book_key $(printf 'space %.0s' $(seq 20))
expect_pages 41 42 turned

# named_window NAME: the id of the reader's visible window titled NAME, in WID.
WID=""
named_window() {
    local w
    for w in $(mojuan_windows); do
        [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "$1" ] && WID=$w && return 0
    done
    return 1
}
# click_in WID X Y: a click at a point of a window's inside.
click_in() {
    local x y w h
    read -r x y w h <<<"$(window_geometry "$1")"
    xdotool mousemove --sync $((x + $2)) $((y + $3)) click 1
}
activate() {
    xdotool windowactivate "$1" 2>/dev/null
    wait_until "window $1 to take the focus" 10 test "$(xdotool getwindowfocus)" = "$1"
}

pages_readable() { SEEN_PAGES=$(page_numbers) && [[ "$SEEN_PAGES" =~ ^[0-9]+\ [0-9]+$ ]]; }

book_key ctrl+s
wait_until "the settings dialog" 20 named_window 设置
SETUP=$WID
activate "$SETUP"
xdotool key ctrl+Tab ctrl+Tab ctrl+Tab
shot settings-system-tab
# "图书字体..." on the "系统设置  " tab (its third row, below the auto-reading group's height).
click_in "$SETUP" 490 183
wait_until "the font dialog" 20 named_window 字体
FONT=$WID
activate "$FONT"
xdotool key alt+s
fill_field 12
xdotool key Tab Return
wait_until "the font dialog to close" 20 not named_window 字体
activate "$SETUP"
xdotool key Return
wait_until "the settings dialog to close" 20 not named_window 设置

wait_until "a readable page pair after the new font" 20 pages_readable
read -r left right <<<"$SEEN_PAGES"
shot reflowed
# 12 points instead of 9: fewer lines a page and fewer characters a line, so the place kept in
# proportion lies further into the book, on an odd page.
[ $((left % 2)) -eq 1 ] && [ "$right" = $((left + 1)) ] || fail "the re-flowed book shows '$SEEN_PAGES'"
[ "$left" -gt 55 ] && [ "$left" -lt 110 ] ||
    fail "pages 41-42 at 9 points became $SEEN_PAGES at 12 points, not the same place"
quit_mojuan
expect_store Font 页面字体大小 12
expect_store Font 页面字体 宋体
expect_store File 上次关闭文件页码 "$left"

launch_mojuan
expect_pages "$left" "$right" restarted
quit_mojuan
expect_store Font 页面字体大小 12
pass "a 12-point page font re-flowed pages 41-42 to $left-$right; the next start kept the font and reopened at $left-$right"
