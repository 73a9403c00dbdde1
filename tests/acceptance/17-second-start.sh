#!/usr/bin/env bash
# The reader started a second time while it runs: the second start hands its document to the
# running book and ends at once; the book opens it at page 1, and the store holds both
# documents, the one opened last on top.
source "$(dirname "$0")/lib.sh"
start_session
use_readable_page_numbers
first=$TMPDIR/first.txt
second=$TMPDIR/second.txt
for i in $(seq 1 400); do echo "first document, line $i"; done >"$first"
for i in $(seq 1 400); do echo "second document, line $i"; done >"$second"

launch_mojuan "$first"
expect_pages 1 2 first-opened
book_key Next Next
expect_pages 5 6 first-turned

# The second start is run in the foreground: it must end by itself, and soon.
(cd "$TMPDIR" && timeout 30 "$MOJUAN_BIN" second.txt >>"$SESSION/second.log" 2>&1)
status=$?
[ "$status" -eq 0 ] || fail "the second start ended with status $status instead of handing over"
note "the second start handed over and ended"

expect_pages 1 2 second-opened
recent_text() { store_value File "最新文件$(store_value File "最新文件顺序$1")"; }
second_on_top() { [ "$(recent_text 0)" = "$second" ]; }
wait_until "the second document on top of the stored list" 20 second_on_top
[ "$(recent_text 1)" = "$first" ] || fail "the second entry is '$(recent_text 1)', not $first"
quit_mojuan
expect_store File 上次关闭文件 "$second"
pass "a second start opened its document in the running book; the store lists it above the first"
