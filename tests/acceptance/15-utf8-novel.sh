#!/usr/bin/env bash
# A novel saved as UTF-8, named on the command line, reads exactly as its GBK file does: the
# first pair and a later pair of the UTF-8 file look, pixel for pixel, as those of the GBK
# file; a reader that did not transcode would show other characters (or mojibake) there.
source "$(dirname "$0")/lib.sh"
[ -f "$CORPUS/hongloumeng.gbk.txt" ] || skip "the corpus ($CORPUS) is missing"
start_session
use_readable_page_numbers
gbk=$TMPDIR/红楼梦.txt utf8=$TMPDIR/红楼梦-utf8.txt
cp "$CORPUS/hongloumeng.gbk.txt" "$gbk"
iconv -f GBK -t UTF-8 "$gbk" >"$utf8" || fail "iconv could not write the UTF-8 novel"
cmp -s "$gbk" "$utf8" && fail "the UTF-8 novel is the GBK file"

# read_pairs FILE TAG: opens FILE, keeps the first pair and the pair after three page turns.
read_pairs() {
    launch_mojuan "$1"
    expect_pages 1 2 "$2-first"
    region_has_ink "$LAST_SHOT" 60 60 150 200 || fail "the left page of $2 shows no text"
    book_key Next Next Next
    expect_pages 7 8 "$2-later"
    quit_mojuan
}

# same_book SHOT1 SHOT2: the book's part of two screenshots is the same, pixel for pixel.
same_book() {
    local diff
    diff=$(compare -metric AE -crop "${BOOK_W}x${BOOK_H}+${BOOK_X}+${BOOK_Y}" "$1" "$2" null: 2>&1)
    [ "$diff" = "0" ] || fail "$(basename "$1") and $(basename "$2") differ in $diff pixels"
}

read_pairs "$gbk" gbk
read_pairs "$utf8" utf8
same_book "$SHOTS/01-gbk-first.png" "$SHOTS/03-utf8-first.png"
same_book "$SHOTS/02-gbk-later.png" "$SHOTS/04-utf8-later.png"
pass "the UTF-8 novel shows pages 1-2 and 7-8 exactly as its GBK file"
