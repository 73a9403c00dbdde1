#!/usr/bin/env bash
# A UTF-8 novel holding a character of CJK extension B (𠮷) and an emoji (😀) shows both: its
# page differs from the same page with other characters of those blocks in their place (two
# characters that fell back to a missing-glyph box would look alike), and from the page a
# reader that lost them would show, where each became "□".
source "$(dirname "$0")/lib.sh"
start_session
use_readable_page_numbers
rare=$TMPDIR/rare.txt other=$TMPDIR/other.txt boxes=$TMPDIR/boxes.txt
printf '𠮷😀𠮷😀\r\n吉祥如意\r\n' >"$rare"
printf '𪚥😃𪚥😃\r\n吉祥如意\r\n' >"$other"
printf '□□□□\r\n吉祥如意\r\n' >"$boxes"

# first_page FILE TAG: opens FILE and keeps its first pair.
first_page() {
    launch_mojuan "$1"
    expect_pages 1 2 "$2"
    region_has_ink "$LAST_SHOT" 60 60 150 40 || fail "the first line of $2 shows no text"
    quit_mojuan
}

# differ SHOT1 SHOT2 WHAT: the first lines of the left pages of two screenshots differ.
differ() {
    local diff
    diff=$(compare -metric AE -crop "200x40+$((BOOK_X + 50))+$((BOOK_Y + 50))" "$1" "$2" null: 2>&1)
    [ "$diff" != "0" ] || fail "$3"
}

first_page "$rare" rare
first_page "$other" other
first_page "$boxes" boxes
differ "$SHOTS/01-rare.png" "$SHOTS/02-other.png" "𠮷 and 😀 look like other characters of their blocks"
differ "$SHOTS/01-rare.png" "$SHOTS/03-boxes.png" "𠮷 and 😀 are shown as □"
pass "𠮷 and 😀 of a UTF-8 novel are drawn as themselves"
