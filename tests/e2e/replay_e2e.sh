#!/usr/bin/env bash
# A drive recorded from kestos-sim, replayed through the File menu of the real program: paused
# at a chosen row, the Readings page and the Oscilloscope's readouts at the cursor look exactly
# as they do while kestos-sim serves that row's bytes on COM1; Open, Reset and recording are
# refused and the car hears nothing; the replay ends holding its last row; Stop polls COM1.
source "$(dirname "$0")/../../scripts/e2e_lib.sh"

e2e_prepare ang
# The drive: kestos-cli records a warm engine from a simulator of its own.
started=0
kestos_start_sim "$e2e_sim" "$e2e_dir/vsim2" --warm || started=$?
e2e_pids+=("$kestos_sim_pid")
[ "$started" = 0 ] || e2e_fail "the recording simulator did not start"
"$e2e_native/cli/kestos-cli" --port "$e2e_dir/vsim2" record "$e2e_dir/recorded.msl" --seconds 2 \
  >/dev/null || e2e_fail "kestos-cli did not record the drive"
python3 "$e2e_root/tests/e2e/make_replay_logs.py" "$e2e_dir/recorded.msl" "$e2e_dir/steady.msl" \
  "$e2e_dir/drive.msl" || e2e_fail "the logs for the replay could not be made"

# COM1 serves the chosen row steadily.
e2e_start_sim --replay "$e2e_dir/steady.msl"
e2e_start_display 1024x768
e2e_start_program
e2e_wait_for 10 e2e_image_filled || e2e_fail "the program did not read the controller's set"

title() { xdotool getwindowname "$e2e_window"; }
# The page, or a design rectangle of it (L T R B), as a picture.
shot() { # FILE [L T R B]
  local origin ox oy l=${2:-0} t=${3:-0} r=${4:-630} b=${5:-505}
  origin=$(e2e_probe origin) || return 1
  read -r ox oy <<<"$origin"
  import -window root -crop "$(($(e2e_x "$r") - $(e2e_x "$l")))x$(($(e2e_y "$b") - $(e2e_y "$t")))+$((ox + $(e2e_x "$l")))+$((oy + $(e2e_y "$t")))" \
    "$e2e_dir/$1" 2>/dev/null
}
# The Readings page drawn afresh (opaque texts leave an edge of a longer text they replace),
# after a few polls.
readings_shot() { # FILE
  e2e_probe command IDM_PAGE_SCHEMA
  e2e_probe command IDM_PAGE_READINGS
  sleep 1
  shot "$1"
}
same() { # A B: no pixel differs
  local d
  d=$(compare -metric AE "$e2e_dir/$1" "$e2e_dir/$2" null: 2>&1) || true
  [ "${d%% *}" = 0 ]
}
readouts=(615 40 795 520) # the Oscilloscope's four readouts and its fuel-state box
cursor_readouts() { # FILE: the readouts under the cursor, after the sweep has run a while
  e2e_probe command IDM_PAGE_SCOPE
  sleep 1.5
  e2e_probe click IDC_SCOPE_CURSOR
  sleep 0.5
  shot "$1" "${readouts[@]}"
  e2e_probe click IDC_SCOPE_CURSOR
  e2e_probe command IDM_PAGE_READINGS
}
warning_says() { e2e_probe dialog text IDC_STATIC | grep -q "$1"; }
refused() { # COMMAND TEXT: a warning that says TEXT, and nothing else
  e2e_probe post-command "$1"
  e2e_wait_for 5 warning_says "$2" || e2e_fail "command $1 was not refused with \"$2\""
  e2e_probe dialog click IDOK
  e2e_wait_for 5 e2e_no_dialog || e2e_fail "the warning did not close"
}

readings_shot live.png
cursor_readouts live_scope.png

e2e_choose_file IDM_FILE_REPLAY "$e2e_dir/drive.msl"
replaying() { title | grep -q '^KestoS - Readings - Replay: drive.msl 0:0[0-9] / 0:09'; }
e2e_wait_for 5 replaying || e2e_fail "the title does not say it replays: $(title)"
e2e_probe command IDM_REPLAY_PAUSE
paused() { title | grep -q ', paused$'; }
e2e_wait_for 3 paused || e2e_fail "the title does not say it is paused: $(title)"
at=$(title)
replay_from=$(($(e2e_log_lines) + 1))
readings_shot replay.png
same live.png replay.png || e2e_fail "the paused replay's Readings page differs from the live one"
cursor_readouts replay_scope.png
same live_scope.png replay_scope.png || e2e_fail "the readouts at the cursor differ from the row's"
[ "$(title)" = "$at" ] || e2e_fail "the paused replay moved on: $(title)"

refused IDM_FILE_OPEN "cannot be sent during a replay"
refused IDM_FILE_RECORD "Recording is not possible during a replay"
e2e_probe command IDM_PAGE_RESET
e2e_probe post-click IDC_RESET_BUTTON
e2e_wait_for 5 warning_says "factory settings cannot be restored" || e2e_fail "Reset was not refused"
e2e_probe dialog click IDOK
e2e_wait_for 5 e2e_no_dialog || e2e_fail "the warning did not close"
e2e_probe command IDM_PAGE_READINGS
heard=$(awk -v from="$replay_from" 'NR >= from && $2 == "RX"' "$e2e_log" | wc -l)
[ "$heard" = 0 ] || e2e_fail "COM1 heard $heard frames during the replay"
[ ! -e "$e2e_dir/Logs" ] && [ ! -e "$e2e_dir/Backup" ] || e2e_fail "a refused command left a file"

e2e_probe command IDM_REPLAY_PAUSE
e2e_wait_for 10 more_than 50 e2e_link_down_red || e2e_fail "the link-down rows do not show"
e2e_probe command IDM_REPLAY_SPEED_8
ended() { title | grep -q 'drive.msl 0:09 / 0:09, ended$'; }
e2e_wait_for 5 ended || e2e_fail "the replay did not end: $(title)"
[ "$(e2e_link_down_red)" = 0 ] || e2e_fail "the end does not hold the last row"

stopped_at=$(($(e2e_log_lines) + 1))
e2e_probe command IDM_REPLAY_STOP
plain_title() { [ "$(title)" = "KestoS - Readings" ]; }
e2e_wait_for 3 plain_title || e2e_fail "the title still says it replays: $(title)"
e2e_wait_for 5 e2e_answered_since "$stopped_at" 02 || e2e_fail "Stop did not go back to COM1"
readings_shot back.png
same live.png back.png || e2e_fail "the page after Stop differs from the live one"
echo PASS
