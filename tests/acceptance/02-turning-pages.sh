#!/usr/bin/env bash
# A GBK novel named on the command line: page turns by keys, by the page-turn strips and by
# clicks on the pages and the book, each read back from the page numbers on the screen; the
# reading underline moved by Up and Down across the pages and onto the next pair.
source "$(dirname "$0")/lib.sh"
[ -f "$CORPUS/shuihu.gbk.txt" ] || skip "the corpus novel $CORPUS/shuihu.gbk.txt is missing"
start_session
use_readable_page_numbers
seed_store "" 下划线标志 1
novel=$TMPDIR/水浒传.txt
cp "$CORPUS/shuihu.gbk.txt" "$novel"
launch_mojuan "$novel"
expect_pages 1 2 opened
region_has_ink "$LAST_SHOT" 60 60 150 200 || fail "the left page shows no text"

turn() { # turn KEY-OR-ACTION LEFT RIGHT NAME
    local how=$1
    shift
    case "$how" in
    click:*) IFS=, read -r x y <<<"${how#click:}" && book_click "$x" "$y" ;;
    *) book_key "$how" ;;
    esac
    expect_pages "$@"
}

turn Next 3 4 page-down
turn space 5 6 space
turn Right 7 8 right
turn plus 9 10 plus
turn Left 7 8 left
turn Prior 5 6 page-up
turn minus 3 4 minus
book_key End
wait_until "the last pair to be shown" 20 pages_turned_from 3 4
shot last-pair
read -r last right <<<"$(page_numbers "$LAST_SHOT")"
[[ "$last" =~ ^[0-9]+$ ]] && [ "$last" -gt 100 ] && [ $((last % 2)) -eq 1 ] ||
    fail "End shows pages '$last $right', expected an odd left page beyond 100"
[ "$right" = "-" ] || [ "$right" = $((last + 1)) ] || fail "End shows pages $last and $right"
note "the last pair starts at page $last"
turn BackSpace 3 4 back-to-previous
turn Home 1 2 home
# The strips at the book's outer edges, the pages, and the book beside the pages.
turn click:589,190 3 4 right-strip
turn click:589,190 5 6 right-strip-again
turn click:6,190 3 4 left-strip
turn click:450,200 5 6 right-page
turn click:150,200 3 4 left-page
turn click:310,200 5 6 book-right-of-spine
turn click:290,200 3 4 book-left-of-spine
turn Home 1 2 home-again

# The underline starts under line 1 of the left page and moves a line per key.
expect_underline() { # X Y NAME
    local deadline=$((SECONDS + 10))
    until underline_is "$1" "$2"; do
        [ "$SECONDS" -ge "$deadline" ] && fail "expected the underline at $1,$2 ($3), it is at '$SEEN_UNDERLINE'"
        sleep "$POLL"
    done
}
read -r ux uy <<<"$(underline_at)"
[ "$ux" != "-" ] || fail "no underline is shown"
note "underline on line 1 at $ux,$uy"
book_key Down
wait_until "the underline to move down" 10 not underline_is "$ux" "$uy"
read -r ux2 uy2 <<<"$SEEN_UNDERLINE"
[ "$ux2" = "$ux" ] && [ "$uy2" -gt "$uy" ] || fail "Down moved the underline from $ux,$uy to $ux2,$uy2"
line=$((uy2 - uy))
note "a line is $line pixels"
book_key Up
expect_underline "$ux" "$uy" "back on line 1"
# Down through the left page: the underline goes to line 1 of the right page without a turn.
lines=0
while [ "$lines" -lt 80 ]; do
    book_key Down
    lines=$((lines + 1))
    wait_until "the underline to move" 10 not underline_is "$ux" $((uy + (lines - 1) * line))
    read -r x y <<<"$SEEN_UNDERLINE"
    [ "$x" != "$ux" ] && break
    [ "$y" = $((uy + lines * line)) ] || fail "after $lines Down the underline is at $x,$y"
done
[ "$y" = "$uy" ] && [ "$x" -gt $((BOOK_W / 2)) ] || fail "the underline went to $x,$y after the left page"
shot underline-right-page
page_numbers "$LAST_SHOT" | grep -qx "1 2" || fail "moving the underline onto the right page turned the page"
note "$lines lines a page; the underline moved to the right page at $x,$y"
book_key Up
expect_underline "$ux" $((uy + (lines - 1) * line)) "last line of the left page"
book_key Down
expect_underline "$x" "$uy" "line 1 of the right page again"
# Down past the last line of the right page turns to the next pair, underline on line 1.
i=1
while [ "$i" -lt "$lines" ]; do
    book_key Down
    expect_underline "$x" $((uy + i * line)) "line $((i + 1)) of the right page"
    i=$((i + 1))
done
book_key Down
expect_pages 3 4 underline-turned-page
expect_underline "$ux" "$uy" "line 1 of page 3"
book_key Up
expect_pages 1 2 underline-turned-back
expect_underline "$x" $((uy + (lines - 1) * line)) "last line of page 2"
quit_mojuan
expect_store File 上次关闭文件 "$novel"
expect_store File 上次关闭文件页码 1
pass "pages turned by keys, strips and clicks, read back each time (last pair at $last); the underline moved $lines lines down the left page, onto the right page and on to pages 3-4 and back"
