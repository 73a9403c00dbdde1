#!/usr/bin/env bash
# "标点避头尾" in the settings dialog: a page laid out with the rule off shows lines that start
# with "，" or "。"; choosing "基本" re-flows the pages so that no line does (the mark hangs at
# the end of the line above, or a character comes down with it), the next start keeps the
# choice, and choosing "关闭" again gives back exactly the first pages.
source "$(dirname "$0")/lib.sh"
source "$ACC_DIR/menus.sh"
start_session
seed_store "" 标点避头尾 0

# Paragraphs one character longer each, around the twenty characters of the default book's
# line, each with a mark where the line fills: one of them leaves its mark at a line start.
DOC=$TMPDIR/marks.txt
python3 - "$DOC" <<'EOF'
import sys
lines = []
for k in range(14, 27):
    lines.append("天" * k + "，地地地地。")
    lines.append("人" * k + "。」山山山山")
open(sys.argv[1], "wb").write("\r\n".join(lines).encode("gbk"))
EOF
launch_mojuan "$DOC"
shot off
OFF=$LAST_SHOT

# book_crop SHOT OUT: the book alone, out of a screenshot of the screen.
book_crop() {
    book_geometry && convert "$1" -crop "${BOOK_W}x${BOOK_H}+${BOOK_X}+${BOOK_Y}" +repage "$2"
}
# differing_pixels A B: how many pixels of the book differ between two screenshots.
differing_pixels() {
    book_crop "$1" "$SESSION/a.png" && book_crop "$2" "$SESSION/b.png" &&
        compare -metric AE "$SESSION/a.png" "$SESSION/b.png" null: 2>&1 | cut -d' ' -f1
}
looks_like() { shot "$2" && [ "$(differing_pixels "$1" "$LAST_SHOT")" = 0 ]; }
# A picture apart from the first that the next screenshot repeats: not one taken mid-change.
settled_apart_from() {
    shot "$2" && local first=$LAST_SHOT && [ "$(differing_pixels "$1" "$first")" != 0 ] &&
        shot "$2" && [ "$(differing_pixels "$first" "$LAST_SHOT")" = 0 ]
}

# choose_rule DOWN_OR_UP: on the settings dialog's "页面设置" tab, one step in "标点避头尾", and OK.
choose_rule() {
    book_key ctrl+s
    expect_dialog 设置
    xdotool key ctrl+Tab alt+p "$1"
    shot settings-page-tab
    xdotool key Return
    wait_until "the settings dialog to close" 20 no_dialog 设置
}

choose_rule Down
wait_until "the pages re-flowed with the rule" 20 settled_apart_from "$OFF" basic
BASIC=$LAST_SHOT
CHANGED=$(differing_pixels "$OFF" "$BASIC")

quit_mojuan
expect_store "" 标点避头尾 1
launch_mojuan
wait_until "the next start to lay the pages out with the rule" 20 looks_like "$BASIC" restarted

choose_rule Up
wait_until "the pages laid out as at first with the rule off" 20 looks_like "$OFF" off-again
quit_mojuan
expect_store "" 标点避头尾 0
pass "the rule changed $CHANGED pixels of the first pages and was kept for the next start; off again gave back the first layout"
