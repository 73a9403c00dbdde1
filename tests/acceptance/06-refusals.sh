#!/usr/bin/env bash
# Bad input gets a message and loses nothing: a document one byte over 22,250,000 bytes is
# refused with "提示" and the help text shows; a damaged store is moved aside (kept byte for
# byte) with a "警告", the book starts with the defaults and writes a fresh store.
source "$(dirname "$0")/lib.sh"
start_session

big=$TMPDIR/太大的小说.txt
while [ "$(stat -c %s "$big" 2>/dev/null || echo 0)" -le 22250000 ]; do
    cat "$CORPUS/shuihu.gbk.txt" >>"$big"
done
truncate -s 22250001 "$big"
use_readable_page_numbers
start_mojuan "$big"
expect_message info 提示 "文件 $big 太大，无法打开。" too-large
wait_until "the book window to be mapped" 60 book_mapped
wait_until "the book to be painted" 60 book_painted
expect_pages 1 2 help-after-refusal
book_key End
expect_last_pair 1 2 help-text-last-page
quit_mojuan
[ "$(stat -c %s "$big")" -eq 22250001 ] || fail "the refused document changed"
expect_store File 上次关闭文件 ""

# A store that is not a database at all.
printf 'these bytes are not a settings store\n%.0s' $(seq 200) >"$STORE"
damaged_sum=$(sha256sum <"$STORE")
start_mojuan
wait_until "a message box" 60 message_box_shown
moved=$(ls "$STORE".damaged-* 2>/dev/null | head -n 1)
[ -f "$moved" ] || fail "the damaged store was not kept beside the store"
expect_message warning 警告 "设置文件已损坏，无法读取，已改名保存为“$moved”。本次使用默认设置。" damaged-store
[ "$(sha256sum <"$moved")" = "$damaged_sum" ] || fail "the damaged store kept aside is not the damaged file"
wait_until "the book window to be mapped" 60 book_mapped
wait_until "the book to be painted" 60 book_painted
shot defaults-after-damage
expect_geometry 100 50 596 380 "after a damaged store"
quit_mojuan
expect_store "" 注册 Vesk
expect_store "" 窗口宽度 596
pass "22,250,001 bytes refused with 提示 and the help text shown; damaged store kept as $(basename "$moved") with 警告, defaults used and a fresh store written"
