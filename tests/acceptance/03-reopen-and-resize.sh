#!/usr/bin/env bash
# Quit and start again: the same document at the same page. Then turn on and resize the book
# through the window manager: the reader's place is its text, so the book shows another pair
# at the new size (never the page it was reopened at) and the same pair back at the old size.
source "$(dirname "$0")/lib.sh"
[ -f "$CORPUS/shuihu.gbk.txt" ] || skip "the corpus novel $CORPUS/shuihu.gbk.txt is missing"
start_session
use_readable_page_numbers
novel=$TMPDIR/水浒传.txt
cp "$CORPUS/shuihu.gbk.txt" "$novel"

# page_count LEFT RIGHT: sets PAGE_COUNT to the number of pages, read by going to the last pair
# and back (Backspace returns to the page shown before the jump).
page_count() {
    local before=$1 after=$2 last right
    book_key End
    wait_until "the last pair" 20 pages_turned_from "$before" "$after"
    read -r last right <<<"$SEEN_PAGES"
    book_key BackSpace
    expect_pages "$before" "$after" back-from-last-pair
    PAGE_COUNT=$right
    [ "$right" = "-" ] && PAGE_COUNT=$last
    [[ "$PAGE_COUNT" =~ ^[0-9]+$ ]] || fail "the last pair reads '$last $right'"
}

launch_mojuan "$novel"
expect_pages 1 2 opened
page_count 1 2
count=$PAGE_COUNT
note "$count pages at ${BOOK_W}x$BOOK_H"
book_key $(printf 'Next %.0s' $(seq 20))
expect_pages 41 42 before-quit
book_ppm "$LAST_SHOT" && cp "$SESSION/book.ppm" "$SESSION/before-quit.ppm"
quit_mojuan
expect_store File 上次关闭文件 "$novel"
expect_store File 上次关闭文件页码 41

launch_mojuan
expect_pages 41 42 reopened
book_ppm "$LAST_SHOT"
differ=$(compare -metric AE "$SESSION/before-quit.ppm" "$SESSION/book.ppm" null: 2>&1)
[ "$differ" = 0 ] || fail "the reopened book differs from the book before quitting ($differ pixels)"
note "the reopened book is pixel for pixel the book that was closed"

book_key $(printf 'Next %.0s' $(seq 30))
expect_pages 101 102 turned-after-reopen
book_ppm "$LAST_SHOT" && cp "$SESSION/book.ppm" "$SESSION/before-resize.ppm"
xdotool windowsize "$BOOK_WID" 450 300
wait_until "the book to become 450x300" 20 sh -c "xwininfo -id $BOOK_WID | grep -q 'Width: 450'"
wait_until "the page numbers after the resize" 30 pages_turned_from 101 102
read -r page right <<<"$SEEN_PAGES"
shot resized
[[ "$page" =~ ^[0-9]+$ ]] || fail "after the resize the page numbers read '$SEEN_PAGES'"
[ "$page" = 41 ] && fail "the resize jumped back to page 41, the page the book was reopened at"
# Back at the old size the place, a text position, gives the same pair, pixel for pixel.
xdotool windowsize "$BOOK_WID" 596 380
wait_until "the book to become 596x380" 20 sh -c "xwininfo -id $BOOK_WID | grep -q 'Width: 596'"
expect_pages 101 102 resized-back
book_ppm "$LAST_SHOT"
differ=$(compare -metric AE "$SESSION/before-resize.ppm" "$SESSION/book.ppm" null: 2>&1)
[ "$differ" = 0 ] || fail "back at 596x380 the book differs from pages 101-102 before ($differ pixels)"
quit_mojuan
expect_store File 上次关闭文件页码 101
expect_store "" 窗口宽度 596
pass "reopened at page 41 as closed; page 101 of $count became page $page at 450x300 and page 101 again, the same pair, back at 596x380"
