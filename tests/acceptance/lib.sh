# Helpers for the acceptance journeys: each journey runs the built reader on a private X display
# with a window manager and its own HOME and XDG folders, drives it with xdotool as a person
# would, and checks what the screen shows and what the store keeps. Sourced by every
# tests/acceptance/NN-name.sh; scripts/acceptance runs them.
#
# A journey calls start_session first, then launch_mojuan, the drivers (book_key, book_click,
# book_drag...) and the checks, waiting with wait_until for each condition it expects, and ends
# with pass MESSAGE (or fail MESSAGE at the first thing that went wrong). Screenshots go to
# $SHOTS, the folder named after the journey.
set -uo pipefail

ACC_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
ROOT=$(cd "$ACC_DIR/../.." && pwd)
BUILD=${MOJUAN_BUILD:-$ROOT/build}
MOJUAN_BIN=${MOJUAN_BIN:-$BUILD/app/mojuan}
CORPUS=${MOJUAN_CORPUS:-$ROOT/../shared/corpus}
JOURNEY=${JOURNEY:-$(basename "$0" .sh)}
ACCEPT_OUT=${ACCEPT_OUT:-$BUILD/acceptance}
SHOTS=$ACCEPT_OUT/$JOURNEY
SCREEN_SIZE=1280x1024
# Polling interval of wait_until, in seconds.
POLL=0.1

SESSION="" XVFB_PID="" WM_PID="" MOJUAN_PID="" BOOK_WID="" LAST_SHOT="" SHOT_COUNT=0 CLIP_PID=""
STORE=""
SETTINGS_KEY='Software\Vesk\Norvane'

# ---- reporting --------------------------------------------------------------------------------

note() { echo "  $JOURNEY: $*" >&2; }

pass() {
    echo "PASS $JOURNEY: $*"
    exit 0
}

# skip MSG: the journey cannot run here (for example the corpus is missing); counts as passed.
skip() {
    echo "SKIP $JOURNEY: $*"
    exit 0
}

fail() {
    [ -n "${DISPLAY:-}" ] && [ -n "$SESSION" ] && shot "at-failure" 2>/dev/null
    echo "FAIL $JOURNEY: $*"
    echo "     screenshots and logs: $SHOTS"
    exit 1
}

# wait_until DESC TIMEOUT_S CMD...: runs CMD until it succeeds; fails the journey with DESC when
# it has not succeeded within TIMEOUT_S seconds.
wait_until() {
    local desc=$1 timeout=$2
    shift 2
    local deadline=$((SECONDS + timeout))
    while true; do
        "$@" && return 0
        [ "$SECONDS" -ge "$deadline" ] && break
        sleep "$POLL"
    done
    fail "timed out after ${timeout}s waiting for $desc"
}

# not CMD...: true when CMD fails (for wait_until).
not() { ! "$@"; }

# ---- the X session ----------------------------------------------------------------------------

stop_session() {
    local pid
    [ -n "$MOJUAN_PID" ] && kill -CONT "$MOJUAN_PID" 2>/dev/null # a journey may hold it still
    for pid in "$CLIP_PID" "$REFERENCE_PID" "$MOJUAN_PID" "$WM_PID" "$XVFB_PID"; do
        [ -n "$pid" ] && kill "$pid" 2>/dev/null
    done
    for pid in "$CLIP_PID" "$REFERENCE_PID" "$MOJUAN_PID" "$WM_PID" "$XVFB_PID"; do
        [ -n "$pid" ] && wait "$pid" 2>/dev/null
    done
    if [ -n "$SESSION" ]; then
        cp "$SESSION"/*.log "$SHOTS"/ 2>/dev/null
        chmod -R u+w "$SESSION" 2>/dev/null
        rm -rf "$SESSION"
    fi
}

window_manager_running() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"
}

display_answers() { xdpyinfo >/dev/null 2>&1; }

start_window_manager() {
    openbox >>"$SESSION/openbox.log" 2>&1 &
    WM_PID=$!
}

# Under load openbox has been seen to give up on a display that had only just come up; it is
# then started again rather than failing the journey before the reader ever ran.
window_manager_up() {
    window_manager_running && return 0
    kill -0 "$WM_PID" 2>/dev/null || start_window_manager
    return 1
}

# Starts Xvfb on a free display, openbox on it, and gives the journey its own HOME, XDG
# folders and TMPDIR, so nothing of the user's desktop is read or written.
start_session() {
    rm -rf "$SHOTS"
    mkdir -p "$SHOTS"
    SESSION=$(mktemp -d "${TMPDIR:-/tmp}/mojuan-accept.XXXXXX")
    trap stop_session EXIT
    trap 'exit 143' TERM INT
    mkdir -p "$SESSION"/{home,config,data,cache,tmp,run}
    chmod 700 "$SESSION/run"
    export HOME=$SESSION/home XDG_CONFIG_HOME=$SESSION/config XDG_DATA_HOME=$SESSION/data
    export XDG_CACHE_HOME=$SESSION/cache XDG_RUNTIME_DIR=$SESSION/run TMPDIR=$SESSION/tmp
    export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 LANG=C.UTF-8
    unset WAYLAND_DISPLAY SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS
    STORE=$XDG_CONFIG_HOME/mojuan/registry.sqlite3
    # -displayfd lets Xvfb pick a display no one else is using and tell us its number.
    Xvfb -displayfd 9 -screen 0 "${SCREEN_SIZE}x24" -nolisten tcp -dpi 96 \
        9>"$SESSION/display" >"$SESSION/xvfb.log" 2>&1 &
    XVFB_PID=$!
    DISPLAY=""
    wait_until "Xvfb to choose a display" 30 test -s "$SESSION/display"
    export DISPLAY=:$(head -n 1 "$SESSION/display")
    wait_until "the X display to answer" 30 display_answers
    start_window_manager
    wait_until "openbox to manage the screen" 30 window_manager_up
    note "display $DISPLAY, screenshots in $SHOTS"
}

# ---- the store --------------------------------------------------------------------------------

sql_quote() { printf "'%s'" "${1//\'/\'\'}"; }

# A key given without "Software\..." is a subkey of the program's own key ("" is the key itself).
full_key() {
    case "$1" in
    "") printf '%s' "$SETTINGS_KEY" ;;
    Software\\*) printf '%s' "$1" ;;
    *) printf '%s\\%s' "$SETTINGS_KEY" "$1" ;;
    esac
}

# store_value KEY NAME: prints the value the store holds (nothing when it is missing).
store_value() {
    sqlite3 -readonly "$STORE" "SELECT data FROM reg_values WHERE hive='HKEY_LOCAL_MACHINE' \
        AND path=$(sql_quote "$(full_key "$1")") AND name=$(sql_quote "$2");"
}

# seed_store KEY NAME VALUE [KEY NAME VALUE...]: writes values into the store before the
# reader starts. The first-run mark is written too, so the reader keeps these values instead of
# writing its defaults; every value not given reads as its default.
seed_store() {
    mkdir -p "$(dirname "$STORE")"
    local sql="CREATE TABLE IF NOT EXISTS reg_values (hive TEXT NOT NULL,
        path TEXT NOT NULL COLLATE NOCASE, name TEXT NOT NULL COLLATE NOCASE,
        data TEXT NOT NULL, UNIQUE (hive, path, name)); PRAGMA user_version = 1;
        INSERT OR REPLACE INTO reg_values VALUES ('HKEY_LOCAL_MACHINE',
        $(sql_quote "$SETTINGS_KEY"), '注册', 'Vesk');"
    while [ $# -ge 3 ]; do
        sql+="INSERT OR REPLACE INTO reg_values VALUES ('HKEY_LOCAL_MACHINE',
            $(sql_quote "$(full_key "$1")"), $(sql_quote "$2"), $(sql_quote "$3"));"
        shift 3
    done
    sqlite3 "$STORE" "$sql"
}

# Page numbers drawn so that page_numbers can read them: in pure blue (nothing else on the book
# is blue), in a monospaced face, each group led by the ten digits that serve as templates.
use_readable_page_numbers() {
    seed_store Font 页码字体 "DejaVu Sans Mono" Font 页码字体大小 14 \
        Font 页码字体颜色 $((0xFF0000)) Font 页码字体粗体 1 \
        "" 页码1前缀 0123456789 "" 页码1后缀 "" "" 页码2前缀 0123456789 "" 页码2后缀 "" \
        "" 章节标题显示 0 # the running head is drawn in the same font
}

# ---- the reader -------------------------------------------------------------------------------

# Visible top-level windows of the reader, one id a line.
mojuan_windows() {
    xdotool search --onlyvisible --pid "$MOJUAN_PID" 2>/dev/null
}

# window_geometry WID: prints "X Y W H" of the window's inside, in screen coordinates.
window_geometry() {
    xwininfo -id "$1" 2>/dev/null | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
        /^  Width:/ {w=$NF} /^  Height:/ {h=$NF} END {if (w) print x, y, w, h; else exit 1}'
}

# window_types WID: the window's types, as "NORMAL", "UTILITY", "DIALOG"..., one a line.
window_types() {
    xprop -id "$1" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -o '_NET_WM_WINDOW_TYPE_[A-Z_]*' |
        sed 's/_NET_WM_WINDOW_TYPE_//'
}

# The book is of the normal window type only; the progress window is also a utility window, and
# message boxes are dialogs.
is_book_window() {
    local types
    types=$(window_types "$1")
    grep -qx NORMAL <<<"$types" && ! grep -qxE "UTILITY|DIALOG|SPLASH|TOOLTIP|POPUP_MENU" <<<"$types"
}

find_book_window() {
    local w
    for w in $(xdotool search --pid "$MOJUAN_PID" 2>/dev/null); do
        if is_book_window "$w"; then
            BOOK_WID=$w
            return 0
        fi
    done
    return 1
}

book_mapped() {
    find_book_window && xwininfo -id "$BOOK_WID" 2>/dev/null | grep -q "IsViewable"
}

# book_geometry: sets BOOK_X BOOK_Y BOOK_W BOOK_H.
book_geometry() {
    local g
    g=$(window_geometry "$BOOK_WID") || return 1
    read -r BOOK_X BOOK_Y BOOK_W BOOK_H <<<"$g"
}

# region_stats FILE X Y W H: prints the mean brightness and its standard deviation (0 to 1).
region_stats() {
    convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -colorspace Gray \
        -format "%[fx:mean] %[fx:standard_deviation]\n" info: 2>/dev/null
}

# The book shows its skin: light pages framed in a darker border, not the black of the root.
book_painted() {
    book_geometry || return 1
    local f=$SESSION/painted.png
    import -window root "$f" 2>/dev/null || return 1
    local mean sd
    read -r mean sd <<<"$(region_stats "$f" "$BOOK_X" "$BOOK_Y" "$BOOK_W" "$BOOK_H")"
    awk -v m="$mean" -v s="$sd" 'BEGIN {exit !(m > 0.5 && s > 0.05)}'
}

# start_mojuan [ARGS...]: starts the reader and returns at once (MOJUAN_PID is set).
start_mojuan() {
    "$MOJUAN_BIN" "$@" >>"$SESSION/mojuan.log" 2>&1 &
    MOJUAN_PID=$!
    BOOK_WID=""
}

# launch_mojuan [ARGS...]: starts the reader and waits for the book mapped and painted.
launch_mojuan() {
    start_mojuan "$@"
    wait_until "the book window to be mapped" 60 book_mapped
    wait_until "the book to be painted" 60 book_painted
    book_geometry
    note "book window $BOOK_WID at $BOOK_X,$BOOK_Y size ${BOOK_W}x$BOOK_H"
}

mojuan_gone() { ! kill -0 "$MOJUAN_PID" 2>/dev/null; }

# quit_mojuan: closes the book with Alt+F4, the window manager's close, and waits for the end.
# The window manager closes the window it thinks has the focus; just after a window is mapped it
# may not think so yet, so the key is pressed again when the first press closed nothing.
quit_mojuan() {
    local attempt deadline
    for attempt in 1 2 3 4; do
        [ "$attempt" -gt 1 ] && note "Alt+F4 closed nothing; pressing it again"
        focus_book
        xdotool key --clearmodifiers alt+F4
        deadline=$((SECONDS + 8))
        until mojuan_gone || [ "$SECONDS" -ge "$deadline" ]; do sleep "$POLL"; done
        mojuan_gone && break
        # Still running: closing may be under way (the window already unmapped); wait for it.
        book_mapped || break
    done
    wait_until "the reader to end after Alt+F4" 30 mojuan_gone
    wait "$MOJUAN_PID" 2>/dev/null
    local status=$?
    MOJUAN_PID=""
    [ "$status" -eq 0 ] || fail "the reader ended with status $status"
}

book_focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$BOOK_WID" ]; }

focus_book() {
    book_focused && return 0
    xdotool windowactivate "$BOOK_WID" 2>/dev/null
    wait_until "the book to have the keyboard focus" 10 book_focused
}

# book_key KEY...: presses keys (xdotool names) on the book.
book_key() {
    focus_book
    xdotool key --clearmodifiers --delay 30 "$@"
}

# book_move_mouse X Y: moves the pointer to a point of the book (book-relative).
book_move_mouse() {
    book_geometry
    xdotool mousemove --sync $((BOOK_X + $1)) $((BOOK_Y + $2))
}

# book_click X Y [BUTTON]: clicks at a point of the book (book-relative).
book_click() {
    book_move_mouse "$1" "$2"
    xdotool click "${3:-1}"
}

# book_drag X1 Y1 X2 Y2 [CMD...]: presses the left button at one point of the book and releases
# it at another (both book-relative at the start of the drag), moving in steps as a hand does.
# A move or resize handed to the window manager starts only once it has the pointer, so with CMD
# (the condition the drag should reach, such as the new position) the pointer keeps nudging at
# the end point until CMD holds, then lets go there.
book_drag() {
    book_geometry
    local x1=$((BOOK_X + $1)) y1=$((BOOK_Y + $2)) x2=$((BOOK_X + $3)) y2=$((BOOK_Y + $4)) i
    shift 4
    xdotool mousemove --sync "$x1" "$y1" mousedown 1
    for i in 1 2 3 4 5 6 7 8 9 10; do
        xdotool mousemove --sync $((x1 + (x2 - x1) * i / 10)) $((y1 + (y2 - y1) * i / 10))
    done
    if [ $# -gt 0 ]; then
        local deadline=$((SECONDS + 20))
        until "$@"; do
            if [ "$SECONDS" -ge "$deadline" ]; then
                xdotool mouseup 1
                book_geometry
                fail "the drag to $x2,$y2 did not reach: $* (the book is at $BOOK_X,$BOOK_Y size ${BOOK_W}x$BOOK_H)"
            fi
            xdotool mousemove --sync "$x2" $((y2 + 1)) mousemove --sync "$x2" "$y2"
            sleep "$POLL"
        done
    fi
    xdotool mouseup 1
}

# book_at X Y, book_sized W H: the book's place and size (for book_drag and wait_until).
book_at() { book_geometry && [ "$BOOK_X $BOOK_Y" = "$1 $2" ]; }
book_sized() { book_geometry && [ "$BOOK_W $BOOK_H" = "$1 $2" ]; }

# ---- giving text to fields --------------------------------------------------------------------
# `xdotool type` loses characters under load (it remaps a key for every character the keyboard
# has no key for), so text goes in through the clipboard, and what the field then holds is copied
# back and compared before the journey goes on.

clipboard_text() { xclip -selection clipboard -o 2>/dev/null; }
clipboard_is() { [ "$(clipboard_text)" = "$1" ]; }
clipboard_owner_gone() { ! kill -0 "$CLIP_PID" 2>/dev/null; }

# paste_checked TEXT KEY... -- KEY...: puts TEXT on the clipboard, presses the keys before "--"
# (that place the cursor or select what TEXT replaces), then Ctrl+V, then the keys after "--"
# (that select what should now be TEXT) and Ctrl+C. The reader's copy takes the clipboard from
# xclip, which then ends; so when it has ended the copy (and the paste before it) has happened.
paste_checked() {
    local text=$1 before=() held
    shift
    while [ "$1" != -- ]; do
        before+=("$1")
        shift
    done
    shift
    printf '%s' "$text" | xclip -selection clipboard -quiet >/dev/null 2>&1 &
    CLIP_PID=$!
    wait_until "the clipboard to hold '$text'" 10 clipboard_is "$text"
    xdotool key --clearmodifiers --delay 30 "${before[@]}" ctrl+v "$@" ctrl+c
    wait_until "the field's text copied back" 10 clipboard_owner_gone
    held=$(clipboard_text)
    [ "$held" = "$text" ] || fail "the field holds '$held' instead of '$text'"
}

# fill_field TEXT: the focused one-line field's text replaced by TEXT, and checked.
fill_field() { paste_checked "$1" ctrl+a -- ctrl+a; }
# insert_at_start TEXT: TEXT put in front of the focused text box's text, and checked.
insert_at_start() { paste_checked "$1" ctrl+Home -- shift+ctrl+Home; }

# ---- what the screen shows --------------------------------------------------------------------

# shot NAME: a screenshot of the whole screen, kept as $SHOTS/NN-NAME.png (LAST_SHOT).
shot() {
    SHOT_COUNT=$((SHOT_COUNT + 1))
    LAST_SHOT=$SHOTS/$(printf %02d "$SHOT_COUNT")-$1.png
    import -window root "$LAST_SHOT"
}

# page_numbers [SHOT]: prints the two page numbers the book shows ("LEFT RIGHT", "-" for a
# number not shown, "?" for one that cannot be read). Needs use_readable_page_numbers.
page_numbers() {
    if [ -n "${1:-}" ]; then book_ppm "$1"; else book_ppm_now; fi || return 1
    python3 "$ACC_DIR/screen.py" pages "$SESSION/book.ppm"
}

# book_ppm_now: what the screen shows of the book now, into $SESSION/book.ppm.
book_ppm_now() {
    book_geometry || return 1
    import -window root -crop "${BOOK_W}x${BOOK_H}+${BOOK_X}+${BOOK_Y}" +repage -depth 8 "$SESSION/book.ppm" 2>/dev/null
}

# book_ppm SHOT: cuts the book out of a screenshot into $SESSION/book.ppm.
book_ppm() {
    book_geometry || return 1
    convert "$1" -crop "${BOOK_W}x${BOOK_H}+${BOOK_X}+${BOOK_Y}" +repage -depth 8 "$SESSION/book.ppm"
}

# underline_at [SHOT]: prints "X Y" (book-relative) of the reading underline's left end, or "-".
underline_at() {
    if [ -n "${1:-}" ]; then book_ppm "$1"; else book_ppm_now; fi || return 1
    python3 "$ACC_DIR/screen.py" underline "$SESSION/book.ppm"
}

SEEN_UNDERLINE=""
underline_is() {
    SEEN_UNDERLINE=$(underline_at) || return 1
    [ "$SEEN_UNDERLINE" = "$1 $2" ]
}

SEEN_PAGES=""
pages_are() {
    SEEN_PAGES=$(page_numbers) || return 1
    [ "$SEEN_PAGES" = "$1 $2" ]
}

# pages_turned_from LEFT RIGHT: true when the book shows other page numbers than these, both
# readable, and a second look gives the same: a look taken while the book is being redrawn (or
# covered for a moment by the progress window) reads as "?" and must not count as the new pair.
pages_turned_from() {
    SEEN_PAGES=$(page_numbers) || return 1
    [[ "$SEEN_PAGES" =~ ^[0-9]+\ ([0-9]+|-)$ ]] && [ "$SEEN_PAGES" != "$1 $2" ] || return 1
    local first=$SEEN_PAGES
    sleep "$POLL"
    SEEN_PAGES=$(page_numbers) || return 1
    [ "$SEEN_PAGES" = "$first" ]
}

# expect_last_pair FROM_LEFT FROM_RIGHT NAME: after End, waits for the pair to change from the
# one given and checks it is a last pair: an odd left page beyond 1 and either no right page or
# the one after it. Sets LAST_LEFT. The help text's length is not fixed, so neither is this.
expect_last_pair() {
    wait_until "the last pair ($3)" 20 pages_turned_from "$1" "$2"
    shot "$3"
    local left right
    read -r left right <<<"$(page_numbers "$LAST_SHOT")"
    [[ "$left" =~ ^[0-9]+$ ]] && [ "$left" -gt 1 ] && [ $((left % 2)) -eq 1 ] ||
        fail "the last pair ($3) reads '$left $right', expected an odd left page beyond 1"
    [ "$right" = "-" ] || [ "$right" = $((left + 1)) ] ||
        fail "the last pair ($3) reads '$left $right'"
    LAST_LEFT=$left
    note "the last pair starts at page $left ($3)"
}

# expect_pages LEFT RIGHT NAME: waits until the book shows these page numbers, then keeps a
# screenshot NAME and reads the numbers back from it once more.
expect_pages() {
    local deadline=$((SECONDS + 20))
    until pages_are "$1" "$2"; do
        [ "$SECONDS" -ge "$deadline" ] && fail "expected pages $1 and $2 ($3), the book shows '$SEEN_PAGES'"
        sleep "$POLL"
    done
    shot "$3"
    local seen
    seen=$(page_numbers "$LAST_SHOT")
    [ "$seen" = "$1 $2" ] || fail "pages $1 $2 were seen, then '$seen' in $LAST_SHOT"
    note "pages $1 and $2 shown ($3)"
}

# region_has_ink SHOT X Y W H: true when the book-relative rectangle holds dark (text) pixels.
region_has_ink() {
    book_geometry || return 1
    local min
    min=$(convert "$1" -crop "${4}x${5}+$((BOOK_X + $2))+$((BOOK_Y + $3))" +repage \
        -colorspace Gray -format "%[fx:minima]" info: 2>/dev/null) || return 1
    awk -v m="$min" 'BEGIN {exit !(m < 0.35)}'
}

# expect_geometry X Y W H WHAT: the book's inside is at this place and of this size.
expect_geometry() {
    book_geometry || fail "the book window has gone"
    [ "$BOOK_X $BOOK_Y $BOOK_W $BOOK_H" = "$1 $2 $3 $4" ] ||
        fail "$5: expected the book at $1,$2 size ${3}x$4, it is at $BOOK_X,$BOOK_Y size ${BOOK_W}x$BOOK_H"
}

# expect_store KEY NAME VALUE: the store holds VALUE.
expect_store() {
    local v
    v=$(store_value "$1" "$2")
    [ "$v" = "$3" ] || fail "the store's $1\\$2 holds '$v', expected '$3'"
}

# ---- message boxes ----------------------------------------------------------------------------

# The reader's visible message boxes (dialog windows), one id a line.
message_boxes() {
    local w
    for w in $(mojuan_windows); do
        window_types "$w" | grep -qx DIALOG && echo "$w"
    done
}

MESSAGE_WID=""
message_box_shown() {
    MESSAGE_WID=$(message_boxes | head -n 1)
    [ -n "$MESSAGE_WID" ]
}

no_message_box() { [ -z "$(message_boxes)" ]; }

REFERENCE_PID=""
REFERENCE_WID=""
reference_shown() {
    REFERENCE_WID=$(xdotool search --onlyvisible --pid "$REFERENCE_PID" 2>/dev/null | head -n 1)
    [ -n "$REFERENCE_WID" ] && window_geometry "$REFERENCE_WID" >/dev/null
}

# window_image WID FILE: the window's inside as drawn on the screen.
window_image() {
    local x y w h
    read -r x y w h <<<"$(window_geometry "$1")" || return 1
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$2"
}

# window_settled WID FILE: the window's image, kept in FILE, is drawn (not of one colour) and
# the same as at the previous call (so it is not caught half painted).
window_settled() {
    local new=${2%.png}.new.png sd
    window_image "$1" "$new" 2>/dev/null || return 1
    sd=$(convert "$new" -colorspace Gray -format "%[fx:standard_deviation]" info: 2>/dev/null)
    if [ -f "$2" ] && [ "$(compare -metric AE "$2" "$new" null: 2>&1)" = 0 ] &&
        awk -v s="$sd" 'BEGIN {exit !(s > 0.02)}'; then
        rm -f "$new"
        return 0
    fi
    mv "$new" "$2"
    return 1
}

# expect_message KIND CAPTION TEXT NAME: waits for a message box of the reader, keeps a
# screenshot NAME, and reads it back: it must be drawn exactly as a box of KIND (info, warning,
# question) titled CAPTION saying TEXT (acceptance-reference draws that box beside it on the same
# display). Then presses Enter on it and waits for it to close.
expect_message() {
    local kind=$1 caption=$2 text=$3 name=$4
    wait_until "a message box \"$caption\"" 60 message_box_shown
    local title
    title=$(xdotool getwindowname "$MESSAGE_WID")
    [ "$title" = "$caption" ] || fail "the message box is titled '$title', expected '$caption'"
    # The reader's box is read before the reference box opens: both may sit at the same place.
    rm -f "$SHOTS/$name-box.png" "$SHOTS/$name-expected.png"
    # Both boxes are read while they have the focus, which draws the default button's frame.
    xdotool windowactivate "$MESSAGE_WID" 2>/dev/null
    wait_until "the message box to have the focus" 10 sh -c "[ \"\$(xdotool getwindowfocus)\" = $MESSAGE_WID ]"
    wait_until "the message box to be drawn" 30 window_settled "$MESSAGE_WID" "$SHOTS/$name-box.png"
    shot "$name"
    "$BUILD/tests/acceptance-reference" message "$kind" "$caption" "$text" >>"$SESSION/reference.log" 2>&1 &
    REFERENCE_PID=$!
    wait_until "the reference message box" 30 reference_shown
    wait_until "the reference message box to be viewable" 30 viewable "$REFERENCE_WID"
    wait_until "the reference message box to have the focus" 10 sh -c "[ \"\$(xdotool getwindowfocus)\" = $REFERENCE_WID ]"
    wait_until "the reference message box to be drawn" 30 window_settled "$REFERENCE_WID" "$SHOTS/$name-expected.png"
    local differ
    differ=$(compare -metric AE "$SHOTS/$name-box.png" "$SHOTS/$name-expected.png" null: 2>&1)
    xdotool key --clearmodifiers Return
    wait "$REFERENCE_PID" 2>/dev/null
    REFERENCE_PID=""
    [ "$differ" = 0 ] || fail "the message box \"$caption\" differs from one saying '$text' ($differ pixels differ; see $name-box.png and $name-expected.png)"
    note "message box \"$caption\" says: $text"
    xdotool windowactivate "$MESSAGE_WID" 2>/dev/null
    wait_until "the message box to have the focus" 10 sh -c "[ \"\$(xdotool getwindowfocus)\" = $MESSAGE_WID ]"
    xdotool key --clearmodifiers Return
    wait_until "the message box \"$caption\" to close" 20 no_message_box
}

# ---- cursors ----------------------------------------------------------------------------------

# cursor_now: the pointer's look now (size, hot spot, digest of its pixels).
cursor_now() { python3 "$ACC_DIR/cursor.py"; }

SEEN_CURSOR=""
cursor_is() {
    SEEN_CURSOR=$(cursor_now) || return 1
    [ "$SEEN_CURSOR" = "$1" ]
}

viewable() { xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }

# reference_cursor SHAPE: sets REFERENCE_CURSOR to the look of Qt's arrow, hand or fdiag
# (diagonal size) cursor on this display, shown by acceptance-reference.
REFERENCE_CURSOR=""
reference_cursor() {
    "$BUILD/tests/acceptance-reference" cursor "$1" >>"$SESSION/reference.log" 2>&1 &
    REFERENCE_PID=$!
    wait_until "the reference window of the $1 cursor" 30 reference_shown
    wait_until "the reference window to be viewable" 30 viewable "$REFERENCE_WID"
    local x y w h
    read -r x y w h <<<"$(window_geometry "$REFERENCE_WID")"
    xdotool mousemove --sync $((x + w / 2)) $((y + h / 2))
    # The server shows the window's cursor as soon as the pointer is inside it; read it twice to
    # be sure it has settled.
    local first=""
    wait_until "the $1 cursor to settle" 10 sh -c "[ \"\$(python3 '$ACC_DIR/cursor.py')\" != '' ]"
    first=$(cursor_now)
    wait_until "the $1 cursor to settle" 10 cursor_is "$first"
    REFERENCE_CURSOR=$first
    kill "$REFERENCE_PID" 2>/dev/null
    wait "$REFERENCE_PID" 2>/dev/null
    REFERENCE_PID=""
}

# expect_cursor_at X Y SHAPE WHAT: over this point of the book the pointer looks like Qt's SHAPE
# cursor.
expect_cursor_at() {
    reference_cursor "$3"
    local want=$REFERENCE_CURSOR
    book_move_mouse "$1" "$2"
    local deadline=$((SECONDS + 10))
    until cursor_is "$want"; do
        if [ "$SECONDS" -ge "$deadline" ]; then
            shot "cursor-$4"
            fail "over $4 ($1,$2) the pointer is '$SEEN_CURSOR', not the $3 cursor '$want'"
        fi
        sleep "$POLL"
    done
    note "over $4 the pointer is the $3 cursor ($want)"
}
