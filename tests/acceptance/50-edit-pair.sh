#!/usr/bin/env bash
# Edit the shown pair: Ctrl+E covers the pages with two white editing boxes, typed text saved
# with Ctrl+Enter shows on the same pages; a change left with Esc is dropped only after the
# question. The edit lives in memory only until the text is saved to a file (Ctrl+Shift+S): that
# file holds the novel with the typed words put in, the novel's own file is not touched, and after
# quitting and starting again the book shows the page exactly as it was before the edit.
source "$(dirname "$0")/lib.sh"
[ -f "$CORPUS/shuihu.gbk.txt" ] || skip "the corpus novel $CORPUS/shuihu.gbk.txt is missing"
start_session
use_readable_page_numbers
novel=$TMPDIR/水浒传.txt
cp "$CORPUS/shuihu.gbk.txt" "$novel"
original=$(md5sum <"$novel")

# white_share: the share (0 to 1) of pure white pixels on the book now; the skin has next to
# none, the editing boxes are white.
white_share() {
    book_ppm_now || return 1
    convert "$SESSION/book.ppm" -fill black +opaque white -colorspace Gray -format "%[fx:mean]" info:
}
editing() { awk -v s="$(white_share)" 'BEGIN {exit !(s > 0.3)}'; }
reading() { awk -v s="$(white_share)" 'BEGIN {exit !(s < 0.02)}'; }

# keep NAME: the book as it is shown now, kept as $SESSION/NAME.ppm.
keep() { book_ppm_now && cp "$SESSION/book.ppm" "$SESSION/$1.ppm"; }
# differing A B [GEOMETRY]: the number of pixels that differ between two kept books (in the
# crop GEOMETRY only, when given).
differing() {
    local crop=(-crop "${3:-${BOOK_W}x${BOOK_H}+0+0}" +repage)
    convert "$SESSION/$1.ppm" "${crop[@]}" "$SESSION/a.ppm"
    convert "$SESSION/$2.ppm" "${crop[@]}" "$SESSION/b.ppm"
    compare -metric AE "$SESSION/a.ppm" "$SESSION/b.ppm" null: 2>&1
}

launch_mojuan "$novel"
expect_pages 1 2 opened
book_key $(printf 'Next %.0s' $(seq 25))
expect_pages 51 52 before-edit
keep before
reading || fail "the book shows white boxes before editing"

book_key ctrl+e
wait_until "the editing boxes over the pages" 20 editing
shot editing
insert_at_start "MOJUAN EDIT "
book_key ctrl+Return
wait_until "the editing boxes to close after Ctrl+Enter" 20 reading
expect_pages 51 52 saved
keep saved
# The top of the left page (its first lines) now starts with the typed words.
top="$((BOOK_W / 2))x$((BOOK_H / 5))+0+0"
[ "$(differing before saved "$top")" != 0 ] || fail "the saved edit does not show at the top of page 51"
note "the edit shows on page 51 ($(differing before saved) pixels changed)"

book_key ctrl+shift+s
wait_until "the save dialog" 30 sh -c "xdotool search --all --onlyvisible --pid $MOJUAN_PID --name '^保存小说文件\$' >/dev/null"
dialog=$(xdotool search --all --onlyvisible --pid "$MOJUAN_PID" --name '^保存小说文件$' | head -n 1)
xdotool windowactivate "$dialog" 2>/dev/null
wait_until "the save dialog to have the focus" 10 sh -c "[ \"\$(xdotool getwindowfocus)\" = $dialog ]"
fill_field "$TMPDIR/edited"
xdotool key --clearmodifiers Return
wait_until "the edited text saved" 20 test -s "$TMPDIR/edited.txt"
wait_until "the save dialog to close" 20 sh -c "! xwininfo -id $dialog 2>/dev/null | grep -q IsViewable"
python3 - "$novel" "$TMPDIR/edited.txt" <<'PY' || fail "the saved file is not the novel with the typed words put in"
import sys
novel, edited = (open(p, "rb").read().replace(b"\r\n", b"\n") for p in sys.argv[1:])
sys.exit(not (edited.count(b"MOJUAN EDIT ") == 1 and edited.replace(b"MOJUAN EDIT ", b"") == novel))
PY
note "the text saved to a file holds the edit"

book_key ctrl+e
wait_until "the editing boxes again" 20 editing
insert_at_start x
book_key Escape
expect_message question 询问 "编辑的文字还没有保存，确定要放弃修改吗？" discard
wait_until "the editing boxes to close after the question" 20 reading
expect_pages 51 52 discarded
keep discarded
[ "$(differing saved discarded)" = 0 ] || fail "the dropped change altered the page"

quit_mojuan
expect_store File 上次关闭文件页码 51
[ "$(md5sum <"$novel")" = "$original" ] || fail "the edit was written to the document's file"
launch_mojuan
expect_pages 51 52 reopened
keep reopened
[ "$(differing before reopened)" = 0 ] ||
    fail "after starting again page 51 differs from before the edit ($(differing before reopened) pixels)"
quit_mojuan
pass "an edit saved on page 51 showed there and went into the text saved to a file; a dropped one left the page as saved; the novel's file was untouched and page 51 came back as before the edit"
