#!/usr/bin/env bash
# A novel read from inside a ZIP archive: the open dialog previews the archive's entry names,
# "选择小说文件" lists its files, the chosen entry goes on top of the recent list as
# "archive|dir\file" and is shown; the extracted copy lives in the private temporary folder
# only while the reader runs.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/file-dialogs.sh"
for corpus_novel in shuihu.gbk.txt hongloumeng.gbk.txt; do
    [ -f "$CORPUS/$corpus_novel" ] || skip "the corpus novel $CORPUS/$corpus_novel is missing"
done
start_session

books=$TMPDIR/books
mkdir -p "$books/src/vol"
head -n 2000 "$CORPUS/hongloumeng.gbk.txt" >"$books/src/a.txt"
head -n 3000 "$CORPUS/shuihu.gbk.txt" >"$books/src/vol/b.txt"
printf 'not a picture' >"$books/src/pic.jpg"
(cd "$books/src" && zip -q -X "$books/set.zip" a.txt pic.jpg vol/ vol/b.txt) ||
    fail "zip could not write the archive"
archive=$books/set.zip
reference="$archive|vol\\b.txt"

recent_entry() { store_value File "最新文件$(store_value File "最新文件顺序$1")"; }
top_entry_is() { [ "$(recent_entry 0)" = "$1" ]; }
extracted() { find "$TMPDIR" -path '*/zip/vol/b.txt' -type f | grep -q .; }

use_readable_page_numbers
launch_mojuan

book_key ctrl+o
wait_until "the open dialog" 30 dialog_shown 打开小说文件
focus_dialog
fill_field "$archive"
wait_until "the archive's entry names in the preview" 20 preview_has_ink
shot archive-preview
xdotool key --clearmodifiers Return
wait_until "the open dialog to close" 30 dialog_gone

wait_until "the entry chooser" 30 dialog_shown 选择小说文件
focus_dialog
shot chooser
# The list has the keyboard: End selects the last row (b.txt in vol\), Enter confirms.
xdotool key --clearmodifiers --delay 100 End Return
wait_until "the chooser to close" 30 dialog_gone
wait_until "the chosen entry on top of the recent list" 20 top_entry_is "$reference"
[ "$(recent_entry 1)" = "$archive" ] || fail "the archive is not below its entry: $(recent_entry 1)"
expect_pages 1 2 entry-shown
extracted || fail "the entry was not extracted into the temporary folder"
quit_mojuan
expect_store File 上次关闭文件 "$reference"
extracted && fail "the extracted copy was left behind after the reader closed"
pass "archive previewed, its entry chosen in 选择小说文件, shown as $reference, its extracted copy removed at close"
