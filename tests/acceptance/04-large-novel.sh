#!/usr/bin/env bash
# A novel of 22,250,000 bytes (the largest the reader opens) from the command line: while it is
# read and paginated the progress window is seen on the screen, painted (its panel colour over
# most of it), centred on the book; then the book shows pages 1 and 2 and turns to the last pair.
source "$(dirname "$0")/lib.sh"
[ -f "$CORPUS/shuihu.gbk.txt" ] || skip "the corpus novel $CORPUS/shuihu.gbk.txt is missing"
start_session
use_readable_page_numbers
# Smart paragraphs and the automatic code conversion add passes, each shown in the progress
# window, so that it is up long enough to be seen several times. The reader now opens even this
# novel faster than the box's threshold, which would keep the box away: it is set to 0, so the
# box shows for every loop over the novel as it always used to.
seed_store "" 智能分段标志 1 "" 自动转换为GB/BIG5码 1
export MOJUAN_PROGRESS_AFTER_MS=0
novel=$TMPDIR/长篇.txt
while [ "$(stat -c %s "$novel" 2>/dev/null || echo 0)" -lt 22250000 ]; do
    cat "$CORPUS/shuihu.gbk.txt" >>"$novel"
done
truncate -s 22250000 "$novel"

# Each look: is the progress window mapped, and what does the screen show where it is? While
# the screen is read the reader is held still (SIGSTOP, then SIGCONT), so the look shows what
# a person would see at that moment however busy the machine is.
MAPPED=0 PAINTED=0 MISPLACED="" PROGRESS_UP=0 PROGRESS_WID=""
find_progress_window() {
    local w
    for w in $(xdotool search --pid "$MOJUAN_PID" 2>/dev/null); do
        grep -qx UTILITY <<<"$(window_types "$w")" && PROGRESS_WID=$w && return 0
    done
    return 1
}
look_at_progress() {
    PROGRESS_UP=0
    [ -n "$PROGRESS_WID" ] || find_progress_window || return 0
    viewable "$PROGRESS_WID" || return 0
    kill -STOP "$MOJUAN_PID"
    local x y ww hh share took=0
    if viewable "$PROGRESS_WID" && read -r x y ww hh <<<"$(window_geometry "$PROGRESS_WID")" &&
        import -window root -crop "${ww}x${hh}+${x}+${y}" +repage -depth 8 "$SESSION/progress.ppm" 2>/dev/null; then
        took=1
    fi
    kill -CONT "$MOJUAN_PID"
    [ "$took" = 1 ] || return 0
    MAPPED=$((MAPPED + 1)) PROGRESS_UP=1
    # Centred on the book: on its settings (100,50 596x380) before it is first shown.
    local want="336,221 124x38"
    [ -n "$BOOK_WID" ] && book_geometry &&
        want="$((BOOK_X + (BOOK_W - 124) / 2)),$((BOOK_Y + (BOOK_H - 38) / 2)) 124x38"
    [ "$x,$y ${ww}x$hh" = "$want" ] || MISPLACED="$x,$y ${ww}x$hh instead of $want"
    share=$(python3 "$ACC_DIR/screen.py" panel "$SESSION/progress.ppm")
    if awk -v s="$share" 'BEGIN {exit !(s > 0.5)}'; then
        PAINTED=$((PAINTED + 1))
        [ "$PAINTED" -le 3 ] && cp "$SESSION/progress.ppm" "$SHOTS/progress-painted-$PAINTED.ppm"
    elif [ "$MAPPED" -le 3 ]; then
        cp "$SESSION/progress.ppm" "$SHOTS/progress-unpainted-$MAPPED.ppm"
    fi
}
no_progress_window() { look_at_progress; [ "$PROGRESS_UP" = 0 ]; }

# The screen is looked at as often as possible while the progress window is up; the book is
# checked only when it is not.
opened() {
    look_at_progress
    [ "$PROGRESS_UP" = 0 ] && book_mapped && pages_are 1 2
}

start_mojuan "$novel"
deadline=$((SECONDS + 120))
until opened; do
    [ "$SECONDS" -ge "$deadline" ] && fail "the book did not show pages 1 and 2 of the large novel within 120s"
done
expect_pages 1 2 opened
# Opening may be over in a few looks; each resize paginates the novel again behind the progress
# window (the pair shown first, the rest once it is drawn), so the book is resized (by the window
# manager) until it has been seen often enough.
toggles=0
while [ "$MAPPED" -lt 4 ] && [ "$toggles" -lt 12 ]; do
    toggles=$((toggles + 1))
    xdotool windowsize "$BOOK_WID" $((596 + toggles % 2 * 40)) 380
    seen_up=0 deadline=$((SECONDS + 3))
    while [ "$SECONDS" -lt "$deadline" ]; do
        look_at_progress
        if [ "$PROGRESS_UP" = 1 ]; then
            seen_up=1
        elif [ "$seen_up" = 1 ]; then
            break
        fi
    done
done
wait_until "the progress window to close" 60 no_progress_window
note "progress window seen mapped $MAPPED times, painted $PAINTED times ($toggles resizes)"
[ "$MAPPED" -gt 0 ] || fail "the progress window was never seen while the novel was processed"
[ "$PAINTED" -gt 0 ] || fail "the progress window was mapped $MAPPED times but never painted (see progress-unpainted-*.ppm)"
[ -z "$MISPLACED" ] || fail "the progress window was not centred on the book: $MISPLACED"
book_key End
wait_until "the last pair" 60 pages_turned_from 1 2
read -r last right <<<"$SEEN_PAGES"
shot last-pair
[[ "$last" =~ ^[0-9]+$ ]] && [ "$last" -gt 1000 ] || fail "the last pair reads '$SEEN_PAGES'"
quit_mojuan
expect_store File 上次关闭文件 "$novel"
pass "22,250,000 bytes opened; the progress window was painted on screen $PAINTED of $MAPPED looks, centred on the book; last pair at page $last"
