#!/usr/bin/env bash
# Recording from the File menu with the real program: on the Readings page, a marker by F9,
# over to the Oscilloscope, a link loss (the simulator silent, then answering), a second
# marker, and stop. The log has the rows, markers and the link-down row in order, with the
# bytes the simulator sent, and kestos-cli draws it.
source "$(dirname "$0")/../../scripts/e2e_lib.sh"

e2e_prepare ang
e2e_start_sim --warm
e2e_start_display 1024x768
e2e_start_program
e2e_wait_for 10 e2e_image_filled || e2e_fail "the program did not read the controller's set"

title() { xdotool getwindowname "$e2e_window"; }
log_file() { ls "$e2e_dir"/Logs/KestoS-*.msl 2>/dev/null | head -n1; }
rows() { awk '/^[0-9]+\.[0-9]+\t/ { n++ } END { print n + 0 }' "$(log_file)" 2>/dev/null; }
rows_above() { [ "$(rows)" -gt "$1" ]; }
has_line() { grep -q "$1" "$(log_file)" 2>/dev/null; }

e2e_probe command IDM_FILE_RECORD
e2e_wait_for 5 log_file >/dev/null || e2e_fail "no log in Logs\\"
recording() { title | grep -q '^KestoS - Readings - Recording [0-9]*:[0-9][0-9]'; }
e2e_wait_for 5 recording || e2e_fail "the title does not say it records: $(title)"
e2e_wait_for 5 rows_above 10 || e2e_fail "rows do not reach the file within a second"

xdotool windowfocus --sync "$e2e_window" key --clearmodifiers F9
e2e_wait_for 5 has_line '^MARK 001 - ' || e2e_fail "F9 set no marker on the Readings page"
marked() { title | grep -q ', marker 1$'; }
e2e_wait_for 5 marked || e2e_fail "the title does not count the marker: $(title)"

e2e_probe command IDM_PAGE_SCOPE
on_scope=$(rows)
e2e_wait_for 5 rows_above $((on_scope + 40)) || e2e_fail "the Oscilloscope's samples are not recorded"

kill -USR1 "$e2e_sim_pid"
e2e_wait_for 5 has_line $'\t0\t[0-9A-F]\\{8\\}\t[0-9A-F]\\{22\\}$' ||
  e2e_fail "no row says the link is down"
down_rows=$(rows)
kill -USR2 "$e2e_sim_pid"
e2e_wait_for 5 rows_above $((down_rows + 20)) || e2e_fail "recording did not resume with the link"
xdotool windowfocus --sync "$e2e_window" key --clearmodifiers F9
e2e_wait_for 5 has_line '^MARK 002 - ' || e2e_fail "F9 set no marker on the Oscilloscope"

e2e_probe command IDM_FILE_RECORD
stopped() { [ "$(title)" = "KestoS - Oscilloscope" ]; }
e2e_wait_for 5 stopped || e2e_fail "the title still says it records: $(title)"
e2e_probe command IDM_PAGE_READINGS # polling goes on; the closed log must not grow
closed_rows=$(rows)
e2e_wait_for 10 e2e_answered_since "$(($(e2e_log_lines) + 1))" 02 || e2e_fail "the page stopped polling"
[ "$(rows)" = "$closed_rows" ] || e2e_fail "rows were written after the recording stopped"

"$e2e_native/cli/kestos-cli" plot "$(log_file)" --svg "$e2e_dir/drive.svg" ||
  e2e_fail "kestos-cli does not read the log"
python3 "$e2e_root/tests/e2e/check_drive_log.py" "$(log_file)" "$e2e_log" "$e2e_dir/drive.svg" \
  --markers 2 --link-rows 1 || e2e_fail "the log does not hold the drive"
echo PASS
