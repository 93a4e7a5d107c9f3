#!/usr/bin/env bash
# Save As and Open through the real common dialogs: the saved file holds the controller's set
# (the same bytes kestos-cli writes from a simulator of the same start), and opening it after a
# change lists the change, and Send sends the 27 frames in order, with the controller's set
# backed up first, then reads the set back and says it was checked. kestos-cli's diff --port
# and load's check against simulators.
source "$(dirname "$0")/../../scripts/e2e_lib.sh"

e2e_prepare pol
e2e_start_sim
e2e_start_display 1024x768
e2e_start_program
e2e_wait_for 10 e2e_image_filled || e2e_fail "the Readings page did not read the settings"

e2e_choose_file IDM_FILE_SAVE_AS "$e2e_dir/zapis"
e2e_wait_for 5 test -s "$e2e_dir/zapis.kss" || e2e_fail "Save As wrote no zapis.kss"
e2e_wait_for 3 e2e_no_dialog || e2e_fail "a box or dialog is still open after saving"

# The same controller, read by kestos-cli on a second simulator from the same start.
started=0
kestos_start_sim "$e2e_sim" "$e2e_dir/vsim2" || started=$?
e2e_pids+=("$kestos_sim_pid")
[ "$started" = 0 ] || e2e_fail "the second simulator did not start"
"$e2e_native/cli/kestos-cli" --port "$e2e_dir/vsim2" save "$e2e_dir/expected.kss" >/dev/null ||
  e2e_fail "kestos-cli could not save the second simulator's set"
cmp "$e2e_dir/expected.kss" "$e2e_dir/zapis.kss" || e2e_fail "zapis.kss differs from the controller's set"

# Change InjectDelay on the Configuration page, then send the saved set back.
from=$(($(e2e_log_lines) + 1))
e2e_probe command IDM_PAGE_CONFIG
e2e_wait_for 5 e2e_answered_since "$from" 03 || e2e_fail "the Configuration page does not poll"
before=$(e2e_probe selected IDC_CFG_INJECT_DELAY)
e2e_probe select IDC_CFG_INJECT_DELAY $(((before + 5) % 20))
e2e_wait_for 2 grep -q " RX 65 0E " "$e2e_log" || e2e_fail "no InjectDelay frame"
# The page reads the changed set back before it is overwritten.
written=$(e2e_last_answer 0E)
e2e_wait_for 5 e2e_answered_since "$((written + 1))" 03 || e2e_fail "no settings poll after the change"
from=$(($(e2e_log_lines) + 1))
e2e_choose_file IDM_FILE_OPEN "$e2e_dir/zapis.kss"
# The changes first: Send.
changes_up() { e2e_probe dialog text IDC_COMPARE_INTRO | grep -q "Wysłanie tego pliku zmieni"; }
e2e_wait_for 10 changes_up || e2e_fail "no list of the changes before sending"
[ "$(e2e_probe dialog text IDOK)" = "Wyślij" ] || e2e_fail "the dialog has no Send button"
e2e_probe dialog post-click IDOK

# The 27 frames the file asks for, "code value" in hex, in table order.
expected_frames() {
  tr -d '\r' <"$e2e_dir/zapis.kss" | awk -F'= ' 'NR > 3 {
      code = NR + 1; if (code >= 30) code++; printf "%02X %02X\n", code, $2 }'
}
sent_frames() {
  awk -v from="$from" 'NR >= from && $2 == "RX" && $4 != "01" && $4 != "02" && $4 != "03" &&
      $4 != "04" { print $4, $5 }' "$e2e_log"
}
all_sent() { [ "$(sent_frames | wc -l)" -ge 27 ]; }
e2e_wait_for 10 all_sent || e2e_fail "Open sent $(sent_frames | wc -l) of 27 frames"
diff <(expected_frames) <(sent_frames) >&2 || e2e_fail "the frames differ from the file"
# Then read back and checked.
checked() { e2e_probe dialog text IDC_STATIC | grep -q "Wysłano i sprawdzono parametry: 27"; }
e2e_wait_for 10 checked || e2e_fail "no box says the upload was checked"
[ "$(awk -v from="$from" 'NR >= from && $2 == "RX" && $4 == "04"' "$e2e_log" | wc -l)" -ge 2 ] ||
  e2e_fail "the blocks were not read before and after sending"
e2e_probe dialog click IDOK
e2e_wait_for 3 e2e_no_dialog || e2e_fail "a box stayed open after the upload"

backups=("$e2e_dir"/Backup/KestoS-*.kss)
[ "${#backups[@]}" = 1 ] && [ -s "${backups[0]}" ] || e2e_fail "no backup in Backup\\"
changes=$("$e2e_native/cli/kestos-cli" diff "$e2e_dir/zapis.kss" "${backups[0]}" | cut -d: -f1 || true)
[ "$changes" = InjectDelay ] || e2e_fail "the backup is not the changed set: $changes"

# kestos-cli against a controller: diff with --port, and load's check after sending.
cli() { "$e2e_native/cli/kestos-cli" "$@" >/dev/null 2>&1 || return $?; }
code=0; cli --port "$e2e_dir/vsim2" diff "$e2e_dir/expected.kss" || code=$?
[ "$code" = 0 ] || e2e_fail "diff --port of the controller's own set exits $code"
code=0; cli --port "$e2e_dir/vsim2" diff "${backups[0]}" || code=$?
[ "$code" = 1 ] || e2e_fail "diff --port of a changed set exits $code"
started=0
kestos_start_sim "$e2e_sim" "$e2e_dir/vsim3" --keep InjectDelay || started=$?
e2e_pids+=("$kestos_sim_pid")
[ "$started" = 0 ] || e2e_fail "the third simulator did not start"
code=0; cli --port "$e2e_dir/vsim3" load "${backups[0]}" || code=$?
[ "$code" = 6 ] || e2e_fail "load exits $code where InjectDelay did not take"
code=0; cli --port "$e2e_dir/vsim2" load "${backups[0]}" || code=$?
[ "$code" = 0 ] || e2e_fail "load of a set the controller takes exits $code"
echo PASS
