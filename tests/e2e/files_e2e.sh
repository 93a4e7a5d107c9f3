#!/usr/bin/env bash
# Save As and Open through the real common dialogs: the saved file holds the controller's set
# (the same bytes kestos-cli writes from a simulator of the same start), and opening it after a
# change sends the 27 frames in order, with the controller's set backed up first.
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
e2e_wait_for 3 e2e_no_dialog || e2e_fail "a warning was shown after the upload"

backups=("$e2e_dir"/Backup/KestoS-*.kss)
[ "${#backups[@]}" = 1 ] && [ -s "${backups[0]}" ] || e2e_fail "no backup in Backup\\"
changes=$("$e2e_native/cli/kestos-cli" diff "$e2e_dir/zapis.kss" "${backups[0]}" | cut -d: -f1 || true)
[ "$changes" = InjectDelay ] || e2e_fail "the backup is not the changed set: $changes"
echo PASS
