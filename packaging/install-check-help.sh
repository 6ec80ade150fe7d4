# SPDX-License-Identifier: GPL-3.0-or-later
# Part of install-check: does the installed program find its help file beside
# itself? Read by install-check with ".", it uses that script's root, stage,
# programs, fail, pass and skip.
# shellcheck shell=sh disable=SC2154

# The help context of the main window, whose topic every help file must hold.
main_window_context=$((0x20000 + 102))

# The installed viewer shows the main window's topic from the installed file.
check_viewer_reads_help_file() {
    reply=$(printf 'topic %s\nstate\nquit\n' "$main_window_context" |
        QT_QPA_PLATFORM=offscreen timeout 20 "$root/bin/tarvin-help" "$root/bin/tarvin.HLP" 2>"$stage/viewer.log")
    case $reply in
    "state message "* | "state contents "*)
        fail "installed tarvin-help shows no topic of tarvin.HLP: $reply" ;;
    "state "*" visible")
        pass "installed tarvin-help shows a topic of tarvin.HLP (${reply#state })" ;;
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

check_help_beside_program() {
    if ! echo " $programs " | grep -q " tarvin "; then
        skip "the window program is not built here; its help file is unchecked"
        return
    fi
    [ -f "$root/bin/tarvin.HLP" ] || fail "no help file tarvin.HLP beside the installed tarvin"
    [ -x "$root/bin/tarvin-help" ] || fail "no help viewer tarvin-help beside the installed tarvin"
    [ -f "$root/bin/tarvin.HLP" ] && [ -x "$root/bin/tarvin-help" ] || return
    check_viewer_reads_help_file
    check_window_asks_for_help_file
}
