#!/usr/bin/env bash
# Soak under faults: the real KestoS.exe against kestos-sim stepping through its faults. On
# each polling page (Readings, Configuration, Options, Oscilloscope) TICKS ticks run while the
# window must answer within a second; the program's GDI and USER objects must not grow; after
# the faults end the page polls the controller's values again by itself. Then the controller
# is unplugged (the simulator and its pty go away) while polling and during an upload, and
# plugged in again: KestoS reports, loses no file and reconnects by itself.
# Usage: soak.sh [TICKS per page, default 10000] [ms per fault, default 2000]
#   KESTOS_SOAK_PAGES="IDM_PAGE_SCOPE:02 ..." limits the pages (menu command:block polled).
source "$(dirname "$0")/../../scripts/e2e_lib.sh"
ticks=${1:-10000}
fault_ms=${2:-2000}

e2e_prepare ang
e2e_start_sim --cycle-faults "$fault_ms"
e2e_start_display 1024x768
e2e_start_program
e2e_wait_for 10 more_than 0 e2e_requests_since 1 01 || e2e_fail "the program does not poll"

status_polls() { e2e_requests_since "$1" 01; }
# The simulator's fault steps begun at line FROM of its log or later; a round is this many.
fault_steps=7
fault_steps_since() {
  awk -v from="$1" 'NR >= from && $2 == "--" &&
      /\((none|silent|bad checksum|short|garbage|delay 60|silent after 20)\)$/ { n++ }
      END { print n + 0 }' "$e2e_log"
}
check_ping() { [ "$(e2e_probe ping)" = ok ] || e2e_fail "$1: the window did not answer within 1 s"; }

pages="IDM_PAGE_READINGS:02 IDM_PAGE_CONFIG:03 IDM_PAGE_OPTIONS:04 IDM_PAGE_SCOPE:02"
for page in ${KESTOS_SOAK_PAGES:-$pages}; do
  id=${page%%:*} block=${page##*:}
  from=$(($(e2e_log_lines) + 1))
  e2e_probe command "$id"
  # The counts start once the page has polled its block and lived through every fault once:
  # what Wine makes the first time a control is drawn in a state is made by then, so any
  # growth after it is the program's.
  e2e_wait_for $((2 * fault_ms / 1000 + 10)) more_than 2 e2e_requests_since "$from" "$block" ||
    e2e_fail "page $id does not poll $block"
  e2e_wait_for $((fault_steps * fault_ms / 1000 * 2 + 10)) more_than "$fault_steps" \
    fault_steps_since "$from" || e2e_fail "page $id: the faults do not cycle"
  read -r gdi user gdi_floor user_floor <<<"$(e2e_probe counts)" ||
    e2e_fail "page $id: no object counts"
  from=$(($(e2e_log_lines) + 1))
  # Two ticks a second at the least, even while the faults keep the link down.
  deadline=$((SECONDS + ticks / 2 + 60))
  while [ "$(status_polls "$from")" -lt "$ticks" ]; do
    check_ping "page $id"
    [ "$SECONDS" -lt "$deadline" ] ||
      e2e_fail "page $id: $(status_polls "$from") of $ticks ticks in $((ticks / 2 + 60)) s"
    sleep 1 # one look a second while the ticks run
  done
  read -r gdi_after user_after _ <<<"$(e2e_probe counts "$gdi_floor" "$user_floor")"
  [ "$gdi_after" -le "$gdi" ] && [ "$user_after" -le "$user" ] ||
    e2e_fail "page $id: objects grew over $ticks ticks (GDI $gdi -> $gdi_after, USER $user -> $user_after)"
  echo "page $id: $ticks ticks, GDI $gdi -> $gdi_after, USER $user -> $user_after"
done

# The faults end: the page polls its values again without help.
kill -USR2 "$e2e_sim_pid"
from=$(($(e2e_log_lines) + 1))
e2e_wait_for 10 e2e_answered_since "$from" 02 || e2e_fail "no readings after the faults ended"
e2e_probe command IDM_PAGE_CONFIG
from=$(($(e2e_log_lines) + 1))
e2e_wait_for 10 e2e_answered_since "$from" 04 || e2e_fail "no settings after the faults ended"

# Unplugged while polling, then plugged in again.
# A new simulator on the same link, with the program (and Wine) left running.
replug() { e2e_start_sim_on "$e2e_win/vcom1" "$@"; } # [simulator options]
# The Readings page says so on its first status line, and stops saying it by itself.
e2e_probe command IDM_PAGE_READINGS
kill "$e2e_sim_pid"
e2e_wait_for 5 test ! -e "$e2e_win/vcom1" || e2e_fail "the simulator's link stayed"
e2e_wait_for 5 more_than 20 e2e_link_down_red || e2e_fail "unplugged: no link-down message"
check_ping "unplugged"
replug
e2e_wait_for 15 e2e_answered_since 1 04 || e2e_fail "no reconnection after the replug"
link_down_gone() { [ "$(e2e_link_down_red)" = 0 ]; }
e2e_wait_for 5 link_down_gone || e2e_fail "the link-down message stays after the replug"

# Unplugged during an upload of a file: the upload stops with its warning, no file is lost.
"$e2e_native/cli/kestos-cli" --port "$e2e_win/vcom1" --json read >/dev/null 2>&1 || true
from=$(($(e2e_log_lines) + 1))
e2e_probe command IDM_PAGE_READINGS
e2e_wait_for 10 e2e_image_filled "$from" || e2e_fail "the program did not read the settings again"
e2e_choose_file IDM_FILE_SAVE_AS "$e2e_dir/set"
e2e_wait_for 5 test -s "$e2e_dir/set.kss" || e2e_fail "Save As wrote nothing"
# Written whole once the dialog is gone and the window answers again.
saved() { e2e_no_dialog && [ "$(e2e_probe ping)" = ok ]; }
e2e_wait_for 5 saved || e2e_fail "the program did not come back from Save As"
# A set that differs from the controller's, so that there is something to send.
sed -i 's/^InjectDelay= [0-9]*/InjectDelay= 40/' "$e2e_dir/set.kss"
cp "$e2e_dir/set.kss" "$e2e_dir/set.copy"
kill "$e2e_sim_pid"
e2e_wait_for 5 test ! -e "$e2e_win/vcom1" || e2e_fail "the simulator's link stayed"
replug --delay 100 # about 3 s for the 27 frames
e2e_wait_for 10 e2e_image_filled || e2e_fail "no settings from the slow controller"
e2e_probe post-command IDM_FILE_OPEN
e2e_wait_for 5 e2e_file_dialog_up || e2e_fail "no open dialog"
from=$(($(e2e_log_lines) + 1))
e2e_probe dialog type cmb13 "$("$kestos_wine" winepath -w "$e2e_dir/set.kss" 2>/dev/null)"
changes_up() { e2e_probe dialog text IDC_COMPARE_INTRO >/dev/null 2>&1; }
e2e_wait_for 10 changes_up || e2e_fail "no list of the changes before sending"
e2e_probe dialog post-click IDOK
# Frames received from the upload's first (Options, code 05) on.
upload_frames() {
  awk -v from="$from" 'NR >= from && $2 == "RX" && ($4 == "05" || n) { n++ } END { print n + 0 }' "$e2e_log"
}
e2e_wait_for 5 more_than 0 upload_frames || e2e_fail "the upload did not start"
# Unplugged with about a third of the 27 frames through.
e2e_wait_for 10 more_than 8 upload_frames || e2e_fail "the upload stalled"
kill "$e2e_sim_pid"
warning() { e2e_probe dialog text IDC_STATIC | grep -q "Only some settings were sent"; }
e2e_wait_for 10 warning || e2e_fail "no warning after the controller went away mid-upload"
e2e_probe dialog click IDOK || e2e_probe dialog click IDCANCEL || true
cmp "$e2e_dir/set.kss" "$e2e_dir/set.copy" || e2e_fail "the file sent was changed"
backups=("$e2e_dir"/Backup/KestoS-*.kss)
[ -f "${backups[0]}" ] || e2e_fail "no backup before the upload"
for b in "${backups[@]}"; do
  result=0
  "$e2e_native/cli/kestos-cli" diff "$b" "$e2e_dir/set.kss" >/dev/null 2>&1 || result=$?
  [ "$result" -le 1 ] || e2e_fail "backup $b is not a whole configuration file"
done
replug
e2e_wait_for 15 e2e_answered_since 1 02 || e2e_fail "no reconnection after the second replug"
check_ping "after the replug"
echo PASS
