#!/usr/bin/env bash
# A first start with an empty store: the built-in help text in a book of 596x380 at 100,50 with
# both page numbers; the defaults are written; after a restart the help text shows pages 1 and 2
# and End reaches its last pair.
source "$(dirname "$0")/lib.sh"
start_session
launch_mojuan
shot first-start
expect_geometry 100 50 596 380 "first start"
# Both pages carry text; the page numbers sit in the bottom band, below the page text (which
# ends at y 358): the left one from x 24, the right one ending at x 572.
region_has_ink "$LAST_SHOT" 40 40 200 100 || fail "the left page shows no text"
region_has_ink "$LAST_SHOT" 330 40 200 100 || fail "the right page shows no text"
region_has_ink "$LAST_SHOT" 24 360 40 6 || fail "no left page number at the bottom left"
region_has_ink "$LAST_SHOT" 530 360 42 6 || fail "no right page number at the bottom right"
region_has_ink "$LAST_SHOT" 80 360 440 6 && fail "something is drawn between the page numbers"
expect_store "" 注册 Vesk
expect_store "" 窗口宽度 596
expect_store "" 窗口左位置 100
quit_mojuan
expect_store File 上次关闭文件 ""
expect_store File 上次关闭文件页码 0

# Started again, the help text (no document) is reopened at its first pair.
use_readable_page_numbers
launch_mojuan
expect_pages 1 2 help-reopened
book_key End
expect_last_pair 1 2 help-last-page
book_key Home
expect_pages 1 2 help-first-page-again
quit_mojuan
pass "help text at 100,50 596x380 with both page numbers; restarted it shows pages 1-2, its last pair at page $LAST_LEFT"
