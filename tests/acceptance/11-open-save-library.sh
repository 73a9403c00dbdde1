#!/usr/bin/env bash
# The file dialogs: a novel opened through "打开小说文件" after its preview showed, the shown
# text saved with Ctrl+Shift+S, the recent list written as a library file with Ctrl+K, and that
# library opened again, which puts its last line on top and shows it.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/file-dialogs.sh"
for corpus_novel in shuihu.gbk.txt hongloumeng.gbk.txt; do
    [ -f "$CORPUS/$corpus_novel" ] || skip "the corpus novel $CORPUS/$corpus_novel is missing"
done
start_session

books=$TMPDIR/books
mkdir -p "$books"
novel=$books/novel.txt other=$books/other.txt
head -n 3000 "$CORPUS/shuihu.gbk.txt" >"$novel"
head -n 3000 "$CORPUS/hongloumeng.gbk.txt" >"$other"

# run_dialog KEY TITLE [PATH]: opens a file dialog with KEY and gives it PATH.
run_dialog() {
    book_key "$1"
    wait_until "the dialog \"$2\"" 30 dialog_shown "$2"
    focus_dialog
    [ -z "${3:-}" ] || fill_field "$3"
}
confirm_dialog() {
    xdotool key --clearmodifiers Return
    wait_until "the dialog to close" 30 dialog_gone
}

recent_entry() { # recent_entry POSITION: the text of the recent list's entry at POSITION
    store_value File "最新文件$(store_value File "最新文件顺序$1")"
}
top_entry_is() { [ "$(recent_entry 0)" = "$1" ]; }

use_readable_page_numbers
launch_mojuan "$other"

run_dialog ctrl+o 打开小说文件
shot open-dialog-empty
preview_has_ink && fail "the preview shows text before a file was selected"
fill_field "$novel"
wait_until "the preview of $novel" 20 preview_has_ink
shot open-dialog-preview
confirm_dialog
wait_until "$novel on top of the recent list" 20 top_entry_is "$novel"
expect_pages 1 2 novel-opened

run_dialog ctrl+shift+s 保存小说文件 "$books/saved"
confirm_dialog
wait_until "the saved file" 20 test -s "$books/saved.txt"
cmp -s "$novel" "$books/saved.txt" || fail "the saved text differs from the novel it shows"

run_dialog ctrl+k 生成书库文件 "$books/shelf"
confirm_dialog
wait_until "the library file" 20 test -s "$books/shelf.blf"
[ "$(cat "$books/shelf.blf")" = "$(printf '%s\r\n%s\r' "$other" "$novel")" ] ||
    fail "the library file does not list $other then $novel: $(od -c "$books/shelf.blf" | head -n 3)"

run_dialog ctrl+o 打开小说文件 "$other"
confirm_dialog
wait_until "$other on top again" 20 top_entry_is "$other"
run_dialog ctrl+o 打开小说文件 "$books/shelf.blf"
confirm_dialog
wait_until "the library's last line on top" 20 top_entry_is "$novel"
[ "$(recent_entry 1)" = "$other" ] || fail "the library's first line is not second: $(recent_entry 1)"
expect_pages 1 2 library-reopened
quit_mojuan
expect_store File 上次关闭文件 "$novel"
pass "opened through the dialog after its preview showed, saved byte for byte, library written least recent first and reopened with $novel on top"
