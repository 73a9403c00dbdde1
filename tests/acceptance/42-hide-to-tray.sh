#!/usr/bin/env bash
# Hiding the book: with a tray on the desktop, the hide area puts the book in the tray and a click
# on the tray icon brings it back (a double click toggles it once, not twice), and a right click
# on the icon opens the main menu; with no tray the hide area minimises the book instead, so it
# can still be brought back, and the program never ends because the book is hidden.
source "$(dirname "$0")/lib.sh"
start_session
launch_mojuan
expect_geometry 100 50 596 380 "at start"

# A tray host on the private display, started after the book: the icon must appear in it.
trayer --edge top --align right --widthtype pixel --width 120 --height 24 --transparent false \
    >"$SESSION/trayer.log" 2>&1 &
TRAYER_PID=$!
stop_trayer() {
    [ -n "$TRAYER_PID" ] && kill "$TRAYER_PID" 2>/dev/null && wait "$TRAYER_PID" 2>/dev/null
    TRAYER_PID=""
}
trap 'stop_trayer; stop_session' EXIT

# The tray icon is the reader's one small viewable window (the book is far larger).
TRAY_X="" TRAY_Y=""
tray_icon_shown() {
    local w x y ww hh
    for w in $(mojuan_windows); do
        [ "$w" = "$BOOK_WID" ] && continue
        read -r x y ww hh <<<"$(window_geometry "$w")" || continue
        if [ "$ww" -le 64 ] && [ "$hh" -le 64 ]; then
            TRAY_X=$((x + ww / 2)) TRAY_Y=$((y + hh / 2))
            return 0
        fi
    done
    return 1
}
wait_until "the book's icon in the tray" 30 tray_icon_shown
note "tray icon at $TRAY_X,$TRAY_Y"
# Clicks on the icon are separate gestures only when the double-click interval (Qt's default,
# 400 ms) lies between them, as between a person's clicks; tray_click waits for that.
# No --sync: the pointer is often there already, and a move to where it is never reports.
LAST_TRAY_CLICK=0
gesture_apart() { (((${EPOCHREALTIME/./} - LAST_TRAY_CLICK) / 1000 > 500)); }
tray_click() {
    wait_until "the double-click interval to pass" 5 gesture_apart
    xdotool mousemove "$TRAY_X" "$TRAY_Y" click "$@"
    LAST_TRAY_CLICK=${EPOCHREALTIME/./}
}
book_viewable() { viewable "$BOOK_WID"; }
book_iconic() { xprop -id "$BOOK_WID" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_HIDDEN; }
alive() { kill -0 "$MOJUAN_PID" 2>/dev/null || fail "the reader ended while the book was hidden"; }

book_click $((596 - 6)) 6
wait_until "the hide area to hide the book" 20 not book_viewable
shot hidden-in-tray
book_iconic && fail "with a tray, the hidden book was minimised instead"
alive
tray_click 1
wait_until "a click on the tray icon to show the book" 20 book_viewable
expect_geometry 100 50 596 380 "shown from the tray"
# A double click is one gesture: the book hides, and stays hidden.
tray_click --repeat 2 --delay 60 1
wait_until "a double click on the tray icon to hide the book" 20 not book_viewable
for _ in 1 2 3 4 5 6 7 8 9 10; do
    book_viewable && fail "a double click on the tray icon toggled the book twice"
    sleep "$POLL"
done
tray_click --repeat 2 --delay 60 1
wait_until "a second double click to show the book" 20 book_viewable

# Right click: the main menu at the pointer, even over a hidden book.
book_click $((596 - 6)) 6
wait_until "the book to hide again" 20 not book_viewable
# A menu is a pop-up (override-redirect) window of the reader, larger than the tray icon.
menu_shown() {
    local w x y ww hh
    for w in $(mojuan_windows); do
        [ "$w" = "$BOOK_WID" ] && continue
        xwininfo -id "$w" 2>/dev/null | grep -q "Override Redirect State: yes" || continue
        read -r x y ww hh <<<"$(window_geometry "$w")" || continue
        [ "$ww" -gt 64 ] && [ "$hh" -gt 64 ] && return 0
    done
    return 1
}
tray_click 3
wait_until "the main menu from the tray icon" 20 menu_shown
shot tray-menu
xdotool key Escape
wait_until "the menu to close" 20 not menu_shown
book_viewable && fail "opening the tray menu showed the book"
tray_click 1
wait_until "the book to come back" 20 book_viewable

# Without a tray, hiding minimises: the book can still be brought back.
stop_trayer
wait_until "the tray icon to go with the tray" 20 not tray_icon_shown
book_click $((596 - 6)) 6
wait_until "the hide area to minimise the book when there is no tray" 20 book_iconic
shot minimised-without-tray
alive
xdotool windowactivate "$BOOK_WID"
wait_until "the minimised book to come back" 20 not book_iconic
wait_until "the book to be shown again" 20 book_viewable
expect_geometry 100 50 596 380 "back from minimised"
quit_mojuan
pass "the hide area hid the book in the tray and a click brought it back; a double click toggled it once; the right click opened the main menu; without a tray the book was minimised and came back"
