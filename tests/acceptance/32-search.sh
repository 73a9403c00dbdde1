#!/usr/bin/env bash
# Search with the underline hidden: Ctrl+F3 and a name typed into the dialog turn to the pair
# that holds its first mention and show the underline there; F3 goes on to the next mention;
# text that occurs nowhere gets the not-found message; the underline stays switched on.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menus.sh"
[ -f "$CORPUS/shuihu.gbk.txt" ] || skip "the corpus novel $CORPUS/shuihu.gbk.txt is missing"
start_session
use_readable_page_numbers
seed_store "" 下划线标志 0
novel=$TMPDIR/水浒传.txt
cp "$CORPUS/shuihu.gbk.txt" "$novel"
launch_mojuan "$novel"
expect_pages 1 2 opened
[ "$(underline_at "$LAST_SHOT")" = "-" ] || fail "the underline is shown before any search"

search_for() { # TEXT
    book_key ctrl+F3
    expect_dialog 查找
    fill_field "$1"
    xdotool key --clearmodifiers Return
    wait_until "the search dialog to close" 20 no_dialog 查找
}

search_for 武松
wait_until "the page to turn to the first 武松" 20 pages_turned_from 1 2
shot first-hit
read -r first _ <<<"$(page_numbers "$LAST_SHOT")"
read -r ux uy <<<"$(underline_at "$LAST_SHOT")"
[ "$ux" != "-" ] || fail "no underline under the hit on pages $first"
note "the first 武松 is on the pair of page $first, underline at $ux,$uy"

book_key F3
moved() { [ "$(page_numbers)" != "$first $((first + 1))" ] || [ "$(underline_at)" != "$ux $uy" ]; }
wait_until "F3 to move on from the first hit" 20 moved
shot next-hit
read -r next _ <<<"$(page_numbers "$LAST_SHOT")"
read -r nx ny <<<"$(underline_at "$LAST_SHOT")"
[ "$nx" != "-" ] || fail "no underline after F3"
[ "$next" -gt "$first" ] || { [ "$next" = "$first" ] && { [ "$nx" -gt "$ux" ] || [ "$ny" -gt "$uy" ]; }; } ||
    fail "F3 went from page $first ($ux,$uy) to page $next ($nx,$ny), not forward"
note "F3 found the next 武松 on the pair of page $next, underline at $nx,$ny"

search_for 墨卷无此文
expect_message info 提示 "没有查找到 “墨卷无此文”。" not-found
pages_are "$next" $((next + 1)) || fail "the not-found search moved the book to '$SEEN_PAGES'"
quit_mojuan
expect_store "" 下划线标志 1
pass "武松 found on the pair of page $first with the underline under it, F3 went on to page $next, an absent text was reported"
