#!/usr/bin/env bash
# The main menu, opened by a right click on the book, holds every item in its order with its
# caption (trailing spaces included), shortcut, submenu arrow, check mark and enabled state: it
# is drawn pixel for pixel as acceptance-reference draws a menu made from the list below. The
# submenus "最新文件", "文件处理" and "书签处理" are opened by pointing at their rows and compared the same way.
source "$(dirname "$0")/lib.sh"
[ -f "$CORPUS/shuihu.gbk.txt" ] || skip "the corpus novel $CORPUS/shuihu.gbk.txt is missing"
start_session
novel=$TMPDIR/水浒传.txt
cp "$CORPUS/shuihu.gbk.txt" "$novel"

# The rows as the reader should show them with this one document open from the command line:
# caption, shortcut, flags (see AcceptanceReference.cpp).
tab=$'\t'
cat >"$SESSION/main.rows" <<ROWS
打开文件...${tab}Ctrl+O
最新文件${tab}${tab}sub
文件处理${tab}${tab}sub
-
书签处理${tab}${tab}sub
指定书签${tab}${tab}sub off
目录...${tab}Ctrl+M
指定页...${tab}Ctrl+Y
-
淘宝网${tab}Ctrl+C
一淘团购${tab}Ctrl+V
百度搜索${tab}Ctrl+X
-
设置...${tab}Ctrl+S
-
隐藏书本${tab}Ctrl+N
最大化显示${tab}Ctrl+I
清除阅读记录...${tab}Ctrl+C
-
退出${tab}Ctrl+T
ROWS
cat >"$SESSION/recent.rows" <<ROWS
1) $novel${tab}${tab}default
-
生成书库文件...${tab}Ctrl+K
ROWS
cat >"$SESSION/deal.rows" <<ROWS
BIG5码转换为GB码${tab}Ctrl+B${tab}check
GB码转换为BIG5码   ${tab}Ctrl+G${tab}check
处理HTML文件${tab}Ctrl+H${tab}check
智能分段${tab}Ctrl+F${tab}check
行距加倍${tab}Ctrl+D${tab}check
显示下划线${tab}Ctrl+U${tab}check
文字编码${tab}${tab}sub
编辑${tab}Ctrl+E
刷新${tab}F5
-
查找...${tab}Ctrl+F3
查找下一个${tab}F3
查找上一个${tab}Shift+F3
查找全部...
ROWS
cat >"$SESSION/label.rows" <<ROWS
添加书签...${tab}Ctrl+L
修改书签...${tab}${tab}off
删除书签...${tab}Del${tab}off
ROWS

# The reader's visible popup menus, one id a line: the windows that the window manager does
# not manage (override-redirect), other than the book.
popup_menus() {
    local w
    for w in $(mojuan_windows); do
        [ "$w" = "$BOOK_WID" ] && continue
        xwininfo -id "$w" 2>/dev/null | grep -q "Override Redirect State: yes" && echo "$w"
    done
}
menus_open() { [ "$(popup_menus | wc -l)" -eq "$1" ]; }
no_menu() { menus_open 0; }

# Nothing may be highlighted: the pointer rests in a corner away from every menu.
park_pointer() { xdotool mousemove --sync 1275 1019; }

open_main_menu() {
    book_click $((BOOK_W / 2)) $((BOOK_H / 2)) 3
    wait_until "the main menu to open" 20 menus_open 1
    park_pointer
    MENU_WID=$(popup_menus | head -n 1)
}

close_menus() {
    while ! no_menu; do
        xdotool key --clearmodifiers Escape
        sleep "$POLL"
    done
}

# reference_menu ROWS NAME: draws the reference menu, keeps its image as NAME-expected.png and
# its rows' places in $SESSION/NAME.geometry, then closes it.
reference_menu() {
    "$BUILD/tests/acceptance-reference" menu "$1" 600 20 >"$SESSION/$2.geometry" 2>>"$SESSION/reference.log" &
    REFERENCE_PID=$!
    wait_until "the reference menu $2" 30 reference_shown
    wait_until "the reference menu $2 to be viewable" 30 viewable "$REFERENCE_WID"
    park_pointer
    rm -f "$SHOTS/$2-expected.png"
    wait_until "the reference menu $2 to be drawn" 30 window_settled "$REFERENCE_WID" "$SHOTS/$2-expected.png"
    wait_until "the reference menu's rows" 10 test -s "$SESSION/$2.geometry"
    xdotool key --clearmodifiers Escape
    wait "$REFERENCE_PID" 2>/dev/null
    REFERENCE_PID=""
}

# expect_same NAME WHAT: the reader's NAME.png is the reference's NAME-expected.png.
expect_same() {
    local differ
    differ=$(compare -metric AE "$SHOTS/$1.png" "$SHOTS/$1-expected.png" null: 2>&1)
    [ "$differ" = 0 ] || fail "$2 differs from the expected menu ($differ pixels; see $1.png and $1-expected.png)"
    note "$2 is drawn exactly as expected"
}

# compare_submenu ROW ROWS NAME: opens the main menu, points at its row ROW (1-based), waits
# for the submenu and compares it with the reference made from ROWS.
compare_submenu() {
    local row=$1 rows=$2 name=$3 top height x y w h
    read -r _ top height <<<"$(sed -n "${row}p" "$SESSION/main.geometry")"
    [ -n "$height" ] || fail "no place known for row $row of the main menu"
    open_main_menu
    read -r x y w h <<<"$(window_geometry "$MENU_WID")"
    xdotool mousemove --sync $((x + w / 3)) $((y + top + height / 2))
    wait_until "the submenu $name to open" 20 menus_open 2
    local sub
    sub=$(popup_menus | grep -vx "$MENU_WID" | head -n 1)
    rm -f "$SHOTS/$name.png"
    wait_until "the submenu $name to be drawn" 30 window_settled "$sub" "$SHOTS/$name.png"
    close_menus
    reference_menu "$rows" "$name"
    expect_same "$name" "the submenu $name"
}

launch_mojuan "$novel"
open_main_menu
rm -f "$SHOTS/main.png"
wait_until "the main menu to be drawn" 30 window_settled "$MENU_WID" "$SHOTS/main.png"
shot main-menu
close_menus
reference_menu "$SESSION/main.rows" main
expect_same main "the main menu"
compare_submenu 2 "$SESSION/recent.rows" recent
compare_submenu 3 "$SESSION/deal.rows" deal
compare_submenu 5 "$SESSION/label.rows" label
quit_mojuan
pass "the main menu and its submenus 最新文件, 文件处理 and 书签处理 hold every item in order, as listed"
