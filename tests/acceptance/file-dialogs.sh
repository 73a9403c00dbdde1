# Helpers of the journeys that use the open and save dialogs. Sourced after lib.sh.

DIALOG_WID=""
# dialog_shown TITLE: a visible window of the reader with this title (sets DIALOG_WID).
dialog_shown() {
    DIALOG_WID=$(xdotool search --all --onlyvisible --pid "$MOJUAN_PID" --name "^$1\$" 2>/dev/null | head -n 1)
    [ -n "$DIALOG_WID" ]
}
dialog_gone() { ! xwininfo -id "$DIALOG_WID" 2>/dev/null | grep -q IsViewable; }
dialog_focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$DIALOG_WID" ]; }
# focus_dialog: gives the dialog the keyboard, as a click on it would, and waits until it has it.
focus_dialog() {
    xdotool windowactivate "$DIALOG_WID" 2>/dev/null
    wait_until "the dialog to have the keyboard focus" 10 dialog_focused
}

# The preview panel sits at the right of the dialog, above the "&BIG5码" box.
preview_has_ink() {
    local x y w h min
    read -r x y w h <<<"$(window_geometry "$DIALOG_WID")" || return 1
    min=$(import -window root -crop "150x$((h - 120))+$((x + w - 170))+$((y + 50))" +repage \
        -colorspace Gray -format "%[fx:minima]" info: 2>/dev/null) || return 1
    awk -v m="$min" 'BEGIN {exit !(m < 0.35)}'
}
