#!/usr/bin/env bash
# Clearing reading records: with three documents on the recent list, positions 2 to 3 are
# cleared through "清除阅读记录..."; the first stays, open and listed, and the store keeps only it.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menus.sh"
start_session
for name in 甲 乙 丙; do
    printf '%s\r\n' "$name" >"$TMPDIR/$name.txt"
done
launch_mojuan "$TMPDIR/甲.txt" "$TMPDIR/乙.txt" "$TMPDIR/丙.txt"
s0=$(store_value File 最新文件顺序0) s1=$(store_value File 最新文件顺序1) s2=$(store_value File 最新文件顺序2)
expect_store File "最新文件$s0" "$TMPDIR/甲.txt"
expect_store File "最新文件$s1" "$TMPDIR/乙.txt"
expect_store File "最新文件$s2" "$TMPDIR/丙.txt"

# The last two items of the main menu are "清除阅读记录..." and "退出".
open_main_menu
xdotool key --clearmodifiers Up Up Return
expect_dialog 清除最新文件
fill_field 2
xdotool key --clearmodifiers Tab
fill_field 3
xdotool key --clearmodifiers Return
wait_until "the clearing dialog to close" 20 no_dialog 清除最新文件
wait_until "the entries to be cleared from the store" 20 store_is File "最新文件$s1" ""
expect_store File "最新文件$s2" ""
expect_store File 最新文件顺序0 "$s0"
expect_store File "最新文件$s0" "$TMPDIR/甲.txt"
quit_mojuan
expect_store File 上次关闭文件 "$TMPDIR/甲.txt"
pass "positions 2 and 3 of the recent list cleared through the menu; the open document stayed first"
