#!/usr/bin/env bash
# A chapter that pandoc wrote as UTF-8 HTML, with its style sheet, named on the command line:
# the book shows its text exactly as it shows the same page saved in GBK, and the style sheet
# is gone, so the short chapter fits the left page and leaves the right page empty (with the
# CSS the book held five and a half pages of it first).
source "$(dirname "$0")/lib.sh"
start_session
page=$ROOT/tests/data/encoding/xiyouji.html
utf8=$TMPDIR/西游记.html gbk=$TMPDIR/西游记-gbk.html
cp "$page" "$utf8"
sed 's/charset="utf-8"/charset="gb2312"/' "$page" | iconv -f UTF-8 -t GBK >"$gbk" ||
    fail "iconv could not write the GBK page"

left_page_has_text() {
    import -window root "$SESSION/now.png" 2>/dev/null && region_has_ink "$SESSION/now.png" 60 60 150 200
}

launch_mojuan "$utf8"
wait_until "the chapter's text on the left page" 20 left_page_has_text
shot utf8-page
utf8_shot=$LAST_SHOT
# The right page of the book (x from 320) holds no text, only the page's own shading.
region_has_ink "$utf8_shot" 330 40 220 300 && fail "the right page shows text: the style sheet is still there"
quit_mojuan

launch_mojuan "$gbk"
wait_until "the chapter's text on the left page" 20 left_page_has_text
shot gbk-page
diff=$(compare -metric AE -crop "${BOOK_W}x${BOOK_H}+${BOOK_X}+${BOOK_Y}" "$utf8_shot" "$LAST_SHOT" null: 2>&1)
[ "$diff" = "0" ] || fail "the UTF-8 page and its GBK copy differ in $diff pixels"
quit_mojuan
pass "the pandoc chapter shows its text as its GBK copy does, without its style sheet"
