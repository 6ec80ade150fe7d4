# SPDX-License-Identifier: GPL-3.0-or-later
# Part of install-check: does the installed program find its help file? The
# window asks for the file beside itself; none lies there once installed, so the
# viewer reads the one in the data folder. Read by install-check with ".", it
# uses that script's root, datadir, stage, programs, fail, pass and skip.
# shellcheck shell=sh disable=SC2154

# The help context of the main window, whose topic every help file must hold.
main_window_context=$((0x20000 + 102))

# The installed viewer, asked for the file beside the program, shows the main
# window's topic from the installed file. The data-folder list names an empty
# folder, so only the installation's own data folder can hold the file.
check_viewer_reads_help_file() {
    mkdir -p "$stage/no-data"
    reply=$(printf 'topic %s\nstate\nquit\n' "$main_window_context" |
        XDG_DATA_DIRS=$stage/no-data QT_QPA_PLATFORM=offscreen timeout 20 \
            "$root/bin/tarvin-help" "$root/bin/tarvin.HLP" 2>"$stage/viewer.log")
    case $reply in
    "state message "* | "state contents "*)
        fail "installed tarvin-help shows no topic of share/tarvin/tarvin.HLP: $reply" ;;
    "state "*" visible")
        pass "installed tarvin-help shows a topic of share/tarvin/tarvin.HLP (${reply#state })" ;;
    *)
        fail "installed tarvin-help answered '$reply'" ;;
    esac
}

# Presses F1 in the installed window and reads which viewer it started, with
# which file: the program's own answer to where its help file lies.
check_window_asks_for_help_file() {
    if ! command -v xvfb-run >/dev/null 2>&1 || ! command -v xdotool >/dev/null 2>&1; then
        skip "xvfb-run or xdotool is not installed; only the layout shows where the help file is"
        return
    fi
    started=$(xvfb-run -a sh "$(dirname "$0")/press-help-key" "$root/bin/tarvin" 2>"$stage/f1.log")
    wanted="$root/bin/tarvin-help $root/bin/tarvin.HLP"
    if [ "$started" = "$wanted" ]; then
        pass "F1 in the installed window opens $wanted"
    else
        cat "$stage/f1.log"
        fail "F1 in the installed window started '$started', not '$wanted'"
    fi
}

check_help_file_found() {
    if ! echo " $programs " | grep -q " tarvin "; then
        skip "the window program is not built here; its help file is unchecked"
        return
    fi
    installed_help=$datadir/tarvin/tarvin.HLP
    [ -f "$installed_help" ] || fail "no help file share/tarvin/tarvin.HLP"
    [ -x "$root/bin/tarvin-help" ] || fail "no help viewer tarvin-help beside the installed tarvin"
    [ -f "$installed_help" ] && [ -x "$root/bin/tarvin-help" ] || return
    check_viewer_reads_help_file
    check_window_asks_for_help_file
}
