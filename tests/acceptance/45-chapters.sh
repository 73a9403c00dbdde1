#!/usr/bin/env bash
# Chapters: Ctrl+M opens 目录; typing filters the list, Enter goes to the chapter, whose heading
# is then underlined on the pair shown; ] goes to the next chapter. The running head names the
# chapter above the left page; the chapter reached is kept with the document's recent entry.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menus.sh"
[ -f "$CORPUS/hongloumeng.gbk.txt" ] || skip "the corpus novel $CORPUS/hongloumeng.gbk.txt is missing"
start_session
novel=$TMPDIR/红楼梦.txt
cp "$CORPUS/hongloumeng.gbk.txt" "$novel"
launch_mojuan "$novel"
shot opened

underline_shown() { local u; u=$(underline_at) && [ "$u" != "-" ]; }
underline_moved_from() { local u; u=$(underline_at) && [ "$u" != "-" ] && [ "$u" != "$1 $2" ]; }

# The record of the document on top of the recent list.
slot=$(store_value File 最新文件顺序0)
book_key ctrl+m
expect_dialog 目录
fill_field 第五回
xdotool key --clearmodifiers Return
wait_until "目录 to close" 20 no_dialog 目录
wait_until "chapter 5 kept with the entry" 20 store_is File 阅读章节$slot \
    "第五回  游幻境指迷十二钗　饮仙醪曲演红楼梦"
wait_until "the heading of chapter 5 underlined" 20 underline_shown
shot chapter-5
heading=$(underline_at "$LAST_SHOT")
[ "$heading" != "-" ] || fail "no underline under the heading of chapter 5"
read -r ux uy <<<"$heading"
region_has_ink "$LAST_SHOT" "$ux" $((uy - 12)) 60 10 ||
    fail "no text above the underline at $heading: the heading is not shown"
# The running head: the chapter the left page begins in, above its text.
region_has_ink "$LAST_SHOT" 40 30 100 12 || fail "no running head above the left page"
note "chapter 5's heading underlined at $heading"

book_key bracketright
wait_until "chapter 6 kept with the entry" 20 store_is File 阅读章节$slot \
    "第六回  贾宝玉初试云雨情　刘姥姥一进荣国府"
wait_until "the underline to move to chapter 6" 20 underline_moved_from "$ux" "$uy"
shot chapter-6
[ "$(underline_at "$LAST_SHOT")" != "-" ] || fail "no underline under the heading of chapter 6"
quit_mojuan
pass "目录 filtered to 第五回 and went to its heading (underlined at $heading, a running head above the left page); ] went on to 第六回"
