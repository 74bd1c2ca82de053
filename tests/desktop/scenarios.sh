# SPDX-License-Identifier: GPL-3.0-or-later
# What the desktop test does with the program, as a user would. Sourced by in-namespace.sh,
# after x11.sh; needs program (the velmaro to run), drive (the test drive's mount point) and home
# (a writable folder that holds the settings).

caption="Velmaro 2.25 beta"
settings_file="$XDG_CONFIG_HOME/Quarno Labs/Velmaro 2.reg"

# Places inside the main window's client area, from the window's design.
quit_button="670 35"
delete_button="177 35"
hint_panel="540 35"
# In the report window.
save_report_button="180 424"

# Starts velmaro in the locale $1 and waits for its main window, whose id lands in main.
start_velmaro() {
    env LC_ALL="$1" "$program" &
    velmaro_pid=$!
    main=$(wait_window "$caption")
}

velmaro_ended() {
    ! kill -0 "$velmaro_pid" 2>/dev/null
}

# Closes the main window with its quit button and checks that the program ended cleanly.
close_velmaro() {
    # shellcheck disable=SC2086 # the place is two numbers
    click_in "$main" $quit_button
    poll velmaro_ended || fail "velmaro still runs ${wait_limit} s after its quit button"
    local status=0
    wait "$velmaro_pid" || status=$?
    [ "$status" = 0 ] || fail "velmaro ended with status $status"
}

# The value $1 of the section windowmain in the settings file.
stored() {
    awk -v name="\"$1\"" -F= '
        /^\[/ { inside = ($0 ~ /\\windowmain\]\r?$/) }
        inside && $1 == name { gsub(/"|\r/, "", $2); print $2 }' "$settings_file"
}

stored_placement() {
    echo "$(stored L) $(stored T) $(stored W) $(stored H)"
}

write_placement() {
    mkdir -p "$(dirname "$settings_file")"
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\software\\Quarno Labs\\Velmaro 2\\windowmain]\r\n"M"="%s"\r\n"L"="%s"\r\n"T"="%s"\r\n"W"="%s"\r\n"H"="%s"\r\n' \
        "$@" > "$settings_file"
}

# A first start is 800 x 600 outside, centred in the work area (the whole 1280 x 1024 screen
# under a window manager without panels), and six starts in a row neither move nor grow it.
placement_without_drift() {
    rm -f "$settings_file"
    local run outer
    for run in 1 2 3 4 5 6; do
        start_velmaro C.UTF-8
        outer=$(outer_geometry "$main")
        [ "$outer" = "240 212 800 600" ] ||
            fail "start $run: outer rectangle $outer, not 240 212 800 600"
        close_velmaro
        [ "$(stored_placement)" = "$outer" ] ||
            fail "start $run: stored placement $(stored_placement), shown $outer"
    done
    echo "ok: six starts at 240 212 800 600"
}

# A window closed maximised opens maximised and, restored, comes back to the stored placement.
maximised_restore() {
    write_placement 1 200 100 900 650
    start_velmaro C.UTF-8
    poll maximised "$main" || fail "the window did not open maximised"
    local left top width height
    read -r left top width height <<< "$(outer_geometry "$main")"
    # A double click on the title bar restores the window in openbox.
    point_at $((left + 400)) $((top + 8))
    xdotool click --repeat 2 --delay 100 1
    poll not_maximised "$main" || fail "the title bar's double click did not restore the window"
    poll test "$(outer_geometry "$main")" = "200 100 900 650" ||
        fail "restored to $(outer_geometry "$main"), not 200 100 900 650"
    close_velmaro
    [ "$(stored_placement)" = "200 100 900 650" ] ||
        fail "stored placement after the restore: $(stored_placement)"
    echo "ok: maximised start restores to 200 100 900 650"
}

# Junk on the test drive: two files the search finds and deletes, one it finds but cannot
# delete (immutable), and one that is no junk.
make_junk() {
    head -c 100 /dev/zero > "$drive/a.tmp"
    head -c 200 /dev/zero > "$drive/Черновик.tmp"
    head -c 50 /dev/zero > "$drive/Нельзя.tmp"
    chattr +i "$drive/Нельзя.tmp"
    echo keep > "$drive/keep.txt"
}

report_saved() {
    [ -s "$1" ]
}

# A search, a deletion and the saved report under the locale $1: the drive keeps exactly what
# could not or should not go, and the report holds its Russian and the Cyrillic path as UTF-8.
clean_up() {
    local locale=$1 report="$home/report-$1.txt"
    make_junk
    start_velmaro "$locale"
    # shellcheck disable=SC2086
    click_in "$main" $hint_panel
    wait_focus "$main"
    xdotool key ctrl+s
    local box
    box=$(wait_window "Поиск")
    wait_focus "$box"
    xdotool key Return
    wait_window_gone "Поиск"
    # shellcheck disable=SC2086
    click_in "$main" $delete_button
    local report_window dialog
    report_window=$(wait_window "Отчёт")
    # shellcheck disable=SC2086
    click_in "$report_window" $save_report_button
    # Qt's own dialog, in Russian whatever the locale.
    dialog=$(wait_window "Сохранить как")
    wait_focus "$dialog"
    # Typed without an extension: the program appends ".txt".
    xdotool key ctrl+a
    xdotool type --delay 5 "${report%.txt}"
    xdotool key Return
    poll report_saved "$report" || fail "no report at $report"
    wait_window_gone "Сохранить как"
    # The message "Отчёт сохранён." has an empty title, for which the window manager is given
    # the program's name; Return closes it, and then the report window.
    local message
    message=$(wait_window "Velmaro 2")
    wait_focus "$message"
    xdotool key Return
    wait_window_gone "Velmaro 2"
    wait_focus "$report_window"
    xdotool key Return
    wait_window_gone "Отчёт"
    close_velmaro

    [ ! -e "$drive/a.tmp" ] && [ ! -e "$drive/Черновик.tmp" ] ||
        fail "$locale: a junk file survived: $(ls "$drive")"
    [ -e "$drive/Нельзя.tmp" ] && [ -e "$drive/keep.txt" ] ||
        fail "$locale: a file that had to stay is gone: $(ls "$drive")"
    check_report "$report"
    chattr -i "$drive/Нельзя.tmp"
    rm -f "$drive/Нельзя.tmp"
    echo "ok: clean-up and report under LC_ALL=$locale"
}

# The report's bytes: the date and the search's duration vary, the rest is exact.
check_report() {
    local year line1 line2
    year=$(date +%Y)
    line1=$(sed -n 1p "$1")
    line2=$(sed -n 2p "$1")
    [[ $line1 == *"$year"*$'\r' ]] || fail "report line 1 is no date of $year: $line1"
    [[ $line2 =~ ^Продолжительность\ поиска:\ [0-9:.,]+\.$'\r'$ ]] ||
        fail "report line 2: $(printf '%s' "$line2" | od -c | head -n 3)"
    local dashes=------------------------------------------------------------
    printf '%s\r\n' "Удалено файлов: 2" "Очищено маста: 300 b" "" \
        "Не удалось удалить следующие файлы:" "$dashes" "$drive/Нельзя.tmp" "$dashes" \
        > "$home/expected"
    tail -n +3 "$1" | cmp -s - "$home/expected" ||
        fail "report differs from the expected text: $(tail -n +3 "$1" | od -c | head -n 20)"
}

# Not a check: the main window after a search over a small drive, as the README shows it, written
# to standard output as an X window dump (with its window manager's frame).
screenshot() {
    mkdir -p "$drive/Документы/Черновики" "$drive/Загрузки"
    head -c 48213 /dev/urandom > "$drive/Документы/~Отчёт за квартал.doc"
    head -c 1536 /dev/urandom > "$drive/Документы/Черновики/Смета.tmp"
    head -c 2300000 /dev/urandom > "$drive/Загрузки/setup."'$$$'
    head -c 32768 /dev/urandom > "$drive/FILE0001.CHK"
    head -c 12 /dev/urandom > "$drive/Загрузки/Справка.gid"
    # Qt takes the Russian formats from the locale's name even where the C library has no such
    # locale installed; the program then falls back to UTF-8.
    start_velmaro ru_RU.UTF-8
    # shellcheck disable=SC2086
    click_in "$main" $hint_panel
    wait_focus "$main"
    xdotool key ctrl+s
    wait_window "Поиск" > /dev/null
    xdotool key Return
    wait_window_gone "Поиск"
    point_at 0 0
    xwd -silent -id "$(frame_of "$main")"
    close_velmaro
}
