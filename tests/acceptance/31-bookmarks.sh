#!/usr/bin/env bash
# Bookmarks: one added on pages 5-6 with its preset caption (第5页, kept by Enter), followed from the bookmark submenu
# after going home, kept in the store and found again after quitting and reopening, then
# deleted with its confirmation.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menus.sh"
[ -f "$CORPUS/shuihu.gbk.txt" ] || skip "the corpus novel $CORPUS/shuihu.gbk.txt is missing"
start_session
use_readable_page_numbers
novel=$TMPDIR/水浒传.txt
cp "$CORPUS/shuihu.gbk.txt" "$novel"
launch_mojuan "$novel"
expect_pages 1 2 opened
book_key Next Next
expect_pages 5 6 turned

book_key ctrl+l
expect_dialog 添加书签
xdotool key --clearmodifiers Return
wait_until "the caption dialog to close" 20 no_dialog 添加书签
wait_until "the bookmark to be stored" 10 store_is Label 49书签0 5
expect_store Label 49书签说明0 第5页

book_key Home
expect_pages 1 2 home
follow_first_bookmark
expect_pages 5 6 followed

quit_mojuan
launch_mojuan
book_key Home
expect_pages 1 2 reopened-home
follow_first_bookmark
expect_pages 5 6 followed-after-reopening

book_key Delete
expect_message question 询问 "删除书签《第5页》吗？" delete-question
wait_until "the bookmark to be deleted from the store" 10 store_is Label 49书签0 0
expect_store Label 49书签说明0 ""
quit_mojuan
pass "a bookmark added on pages 5-6 as 第5页, followed from the submenu before and after reopening, then deleted"
