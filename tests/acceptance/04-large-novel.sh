#!/usr/bin/env bash
# A novel of 22,250,000 bytes (the largest the reader opens) from the command line: while it is
# read and paginated the progress window is seen on the screen, painted (its panel colour over
# most of it), centred on the book; then the book shows pages 1 and 2 and turns to the last pair.
source "$(dirname "$0")/lib.sh"
[ -f "$CORPUS/shuihu.gbk.txt" ] || pass "SKIPPED: the corpus ($CORPUS) is missing"
start_session
use_readable_page_numbers
novel=$TMPDIR/长篇.txt
while [ "$(stat -c %s "$novel" 2>/dev/null || echo 0)" -lt 22250000 ]; do
    cat "$CORPUS/shuihu.gbk.txt" >>"$novel"
done
truncate -s 22250000 "$novel"

# Each look: is a progress window mapped, and what does the screen show where it is?
MAPPED=0 PAINTED=0 PLACES=""
look_at_progress() {
    local w types x y ww hh share
    for w in $(mojuan_windows); do
        types=$(window_types "$w")
        grep -qx UTILITY <<<"$types" || continue
        read -r x y ww hh <<<"$(window_geometry "$w")" || continue
        import -window root -crop "${ww}x${hh}+${x}+${y}" +repage -depth 8 "$SESSION/progress.ppm" 2>/dev/null || continue
        viewable "$w" || continue
        MAPPED=$((MAPPED + 1))
        PLACES="$x,$y ${ww}x$hh"
        share=$(python3 "$ACC_DIR/screen.py" panel "$SESSION/progress.ppm")
        if awk -v s="$share" 'BEGIN {exit !(s > 0.5)}'; then
            PAINTED=$((PAINTED + 1))
            [ "$PAINTED" -le 3 ] && cp "$SESSION/progress.ppm" "$SHOTS/progress-painted-$PAINTED.ppm" &&
                import -window root "$SHOTS/progress-screen-$PAINTED.png"
        elif [ "$MAPPED" -le 3 ]; then
            cp "$SESSION/progress.ppm" "$SHOTS/progress-unpainted-$MAPPED.ppm"
        fi
    done
    return 1
}
opened() { look_at_progress; book_mapped && pages_are 1 2; }

start_mojuan "$novel"
wait_until "the book to show pages 1 and 2 of the large novel" 120 opened
expect_pages 1 2 opened
note "progress window seen mapped $MAPPED times, painted $PAINTED times, at $PLACES"
[ "$MAPPED" -gt 0 ] || fail "the progress window was never seen while the novel opened"
[ "$PAINTED" -gt 0 ] || fail "the progress window was mapped $MAPPED times but never painted (see progress-unpainted-*.ppm)"
[ "$PLACES" = "336,221 124x38" ] || fail "the progress window was at $PLACES, not centred on the book (336,221 124x38)"
book_key End
wait_until "the last pair" 60 not pages_are 1 2
read -r last right <<<"$SEEN_PAGES"
shot last-pair
[[ "$last" =~ ^[0-9]+$ ]] && [ "$last" -gt 1000 ] || fail "the last pair reads '$SEEN_PAGES'"
quit_mojuan
expect_store File 上次关闭文件 "$novel"
pass "22,250,000 bytes opened; the progress window was painted on screen $PAINTED of $MAPPED looks, centred at 336,221; last pair at page $last"
