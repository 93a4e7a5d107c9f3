#!/usr/bin/env bash
# CPU of the real program on the Oscilloscope page: 20 s against kestos-sim on COM1, then 20 s
# of a 1x replay of a drive kestos-cli recorded from a simulator first. CPU seconds of the
# KestoS.exe process (and of the Wine server) over each span, and their ratio. A figure, never
# pass/fail.
source "$(dirname "$0")/../scripts/e2e_lib.sh"

span=${1:-20}
e2e_prepare ang
started=0
kestos_start_sim "$e2e_sim" "$e2e_dir/vsim2" --warm || started=$?
e2e_pids+=("$kestos_sim_pid")
[ "$started" = 0 ] || e2e_fail "the recording simulator did not start"
"$e2e_native/cli/kestos-cli" --port "$e2e_dir/vsim2" record "$e2e_dir/drive.msl" \
  --seconds $((span + 10)) >/dev/null || e2e_fail "kestos-cli did not record the drive"
e2e_start_sim --warm
e2e_start_display 1024x768
e2e_start_program
e2e_wait_for 10 e2e_image_filled || e2e_fail "the program did not read the controller's set"
e2e_probe command IDM_PAGE_SCOPE
program=$(pgrep -x KestoS.exe | head -n1)
server=$(pgrep wineserver | head -n1)

ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
# CPU seconds of PID over the span.
measure() { # PIDS...
  local before=() p i=0
  for p in "$@"; do before+=("$(ticks "$p")"); done
  sleep "$span"
  for p in "$@"; do
    awk -v a="${before[$i]}" -v b="$(ticks "$p")" -v hz="$(getconf CLK_TCK)" \
      'BEGIN { printf "%.2f ", (b - a) / hz }'
    i=$((i + 1))
  done
}
sleep 2
read -r live_program live_server <<<"$(measure "$program" "$server")"
e2e_choose_file IDM_FILE_REPLAY "$e2e_dir/drive.msl"
replaying() { xdotool getwindowname "$e2e_window" | grep -q 'Replay: drive.msl'; }
e2e_wait_for 5 replaying || e2e_fail "the replay did not start"
sleep 2
read -r replay_program replay_server <<<"$(measure "$program" "$server")"
echo "Oscilloscope, ${span} s: KestoS.exe ${live_program} s CPU against kestos-sim, ${replay_program} s in a 1x replay" \
  "(ratio $(awk -v a="$replay_program" -v b="$live_program" 'BEGIN { printf "%.2f", b ? a / b : 0 }'));" \
  "wineserver ${live_server} s / ${replay_server} s"
