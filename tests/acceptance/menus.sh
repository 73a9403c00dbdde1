# Helpers of the journeys that use the main menu and the reader's small dialogs. Sourced after
# lib.sh.

# The main menu's items from the top that keyboard navigation passes through before
# "指定书签" (separators are skipped; every one of these is enabled while a listed document is
# open). Update when items are added above it.
MENU_ITEMS_ABOVE_BOOKMARKS=(打开文件... 最新文件 文件处理 书签处理)

# visible_window TITLE: prints the id of a visible window of the reader with this title.
visible_window() {
    xdotool search --all --onlyvisible --pid "$MOJUAN_PID" --name "^$1\$" 2>/dev/null | head -n 1
}

dialog_up() { [ -n "$(visible_window "$1")" ]; }
no_dialog() { [ -z "$(visible_window "$1")" ]; }

# expect_dialog TITLE: waits for the dialog and for it to have the keyboard focus.
DIALOG_WID=""
expect_dialog() {
    wait_until "the dialog \"$1\"" 30 dialog_up "$1"
    DIALOG_WID=$(visible_window "$1")
    wait_until "the dialog \"$1\" to have the focus" 10 \
        sh -c "[ \"\$(xdotool getwindowfocus)\" = $DIALOG_WID ]"
    shot "dialog-$1"
}

# The reader's open popup menus (and submenus): the override-redirect windows it shows.
popup_menus() {
    local w
    for w in $(mojuan_windows); do
        xwininfo -id "$w" 2>/dev/null | grep -q "Override Redirect State: yes" && echo "$w"
    done
}
menus_open() { [ "$(popup_menus | wc -l)" -ge "$1" ]; }

# open_main_menu: right click on the left page (the book's main menu), waits for it.
open_main_menu() {
    book_click 150 200 3
    wait_until "the main menu to open" 20 menus_open 1
}

# follow_first_bookmark: chooses the first item of "指定书签" with the keyboard.
follow_first_bookmark() {
    open_main_menu
    local i
    for i in "${MENU_ITEMS_ABOVE_BOOKMARKS[@]}" 指定书签; do
        xdotool key --clearmodifiers Down
    done
    xdotool key --clearmodifiers Right
    wait_until "the bookmark submenu to open" 20 menus_open 2
    xdotool key --clearmodifiers Return
    wait_until "the menus to close" 20 not menus_open 1
}

# store_is KEY NAME VALUE: the store holds VALUE (for wait_until).
store_is() { [ "$(store_value "$1" "$2")" = "$3" ]; }
