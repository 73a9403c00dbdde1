#!/usr/bin/env bash
# A UTF-8 novel holding a character of CJK extension B (𠮷) and an emoji (😀) shows both: its
# page differs from the same page with other characters of those blocks in their place (two
# characters that fell back to a missing-glyph box would look alike), and from the page a
# reader that lost them would show, where each became "□". Then "文字编码" → "BIG5" reads the
# file again as BIG5, which shows other characters, and "自动识别" brings the page back.
source "$(dirname "$0")/lib.sh"
source "$ACC_DIR/menus.sh"
start_session
use_readable_page_numbers
rare=$TMPDIR/rare.txt other=$TMPDIR/other.txt boxes=$TMPDIR/boxes.txt
printf '𠮷😀𠮷😀\r\n吉祥如意\r\n' >"$rare"
printf '𪚥😃𪚥😃\r\n吉祥如意\r\n' >"$other"
printf '□□□□\r\n吉祥如意\r\n' >"$boxes"

# first_page FILE TAG: opens FILE and keeps its first pair.
first_page() {
    launch_mojuan "$1"
    expect_pages 1 - "$2"
    region_has_ink "$LAST_SHOT" 20 20 200 40 || fail "the first line of $2 shows no text"
}

# The first lines of the left page, book-relative, as a geometry for convert.
first_lines() { echo "200x40+$((BOOK_X + 20))+$((BOOK_Y + 20))"; }

# same_lines SHOT1 SHOT2: the first lines of the left pages of two screenshots are alike.
same_lines() {
    local diff
    diff=$(compare -metric AE -crop "$(first_lines)" "$1" "$2" null: 2>&1)
    [ "$diff" = "0" ]
}

# shows_as SHOT: the screen now shows the first lines as in SHOT (for wait_until).
shows_as() {
    import -window root "$SESSION/now.png" 2>/dev/null && same_lines "$1" "$SESSION/now.png"
}

# choose_code N: "文件处理" → "文字编码" → its item N (0 is "自动识别"), with the keyboard.
choose_code() {
    open_main_menu
    xdotool key --clearmodifiers Down Down Down Right
    wait_until "the 文件处理 submenu to open" 20 menus_open 2
    xdotool key --clearmodifiers Down Down Down Down Down Down Right
    wait_until "the 文字编码 submenu to open" 20 menus_open 3
    local i
    for ((i = 0; i < $1; i++)); do xdotool key --clearmodifiers Down; done
    xdotool key --clearmodifiers Return
    wait_until "the menus to close" 20 not menus_open 1
}

first_page "$rare" rare
rare_shot=$LAST_SHOT
choose_code 2
wait_until "the text read as BIG5" 30 not shows_as "$rare_shot"
shot big5
choose_code 0
wait_until "the text recognised as UTF-8 again" 30 shows_as "$rare_shot"
quit_mojuan

first_page "$other" other
quit_mojuan
same_lines "$rare_shot" "$LAST_SHOT" && fail "𠮷 and 😀 look like other characters of their blocks"
first_page "$boxes" boxes
quit_mojuan
same_lines "$rare_shot" "$LAST_SHOT" && fail "𠮷 and 😀 are shown as □"
pass "𠮷 and 😀 of a UTF-8 novel are drawn as themselves, and 文字编码 reads it as BIG5 and back"
