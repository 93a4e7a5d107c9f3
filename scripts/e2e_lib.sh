# Sourced by the end-to-end tests: the real KestoS.exe under Wine on its own virtual display,
# against its own kestos-sim on COM1, in a fresh working directory.
set -euo pipefail
e2e_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
e2e_win=${KESTOS_WIN_BUILD:-$e2e_root/build/win}
e2e_native=${KESTOS_NATIVE_BUILD:-$e2e_root/build/native}
e2e_exe="$e2e_win/shell/KestoS.exe"
e2e_sim="$e2e_native/sim/kestos-sim"
source "$e2e_root/scripts/wine_env.sh" "$e2e_win"
wine_prefix_init

e2e_dir=$(mktemp -d "$e2e_win/e2e-XXXXXX")
e2e_log="$e2e_dir/sim.log"
e2e_pids=()

e2e_fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# A passing test leaves nothing behind unless KESTOS_KEEP_E2E is set; a failing one keeps its
# log and screenshots.
e2e_cleanup() {
  local status=$? p
  for p in "${e2e_pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wine_stop_server
  wait 2>/dev/null || true
  if [ "$status" = 0 ] && [ -z "${KESTOS_KEEP_E2E:-}" ]; then rm -rf "$e2e_dir"; fi
}
trap e2e_cleanup EXIT

# Working directory with the language files and a settings file.
e2e_prepare() {
  cp -r "$e2e_root/Lang" "$e2e_dir/Lang"
  printf '[Ustawienia]\r\nCommPort= 1\r\nLanguage= %s\r\n' "${1:-pol}" >"$e2e_dir/KestoS.ini"
}

# A simulator of the test's own on LINK (default COM1's), logging to the test's log.
# Usage: e2e_start_sim_on LINK [simulator options]
e2e_start_sim_on() {
  local link=$1 started=0
  shift
  kestos_start_sim "$e2e_sim" "$link" --log "$e2e_log" "$@" || started=$?
  e2e_sim_pid=$kestos_sim_pid
  e2e_pids+=("$e2e_sim_pid")
  [ "$started" = 0 ] || e2e_fail "kestos-sim did not make $link"
}
e2e_start_sim() {
  wine_stop_server
  e2e_start_sim_on "$e2e_win/vcom1" "$@"
}

# A virtual display of its own for this test.
e2e_start_display() {
  local size=${1:-1024x768} n _
  for _ in $(seq 20); do
    n=$((100 + RANDOM % 800))
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
  e2e_pids+=($!)
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.05; done
  [ -e "/tmp/.X11-unix/X$n" ] || e2e_fail "the virtual display :$n did not start"
  export DISPLAY=":$n"
}

# Starts KestoS.exe and waits for its window.
e2e_start_program() {
  wine_start_server
  (cd "$e2e_dir" && exec "$kestos_wine" "$e2e_exe" </dev/null >/dev/null 2>&1) &
  e2e_program_pid=$!
  e2e_pids+=("$e2e_program_pid")
  e2e_window=$(timeout 30 xdotool search --sync --name '^KestoS' | head -n1) ||
    e2e_fail "the KestoS window did not appear"
}

# Median gap in ms between status requests in the simulator's log, from line $1 on.
e2e_status_gap() {
  awk -v from="${1:-1}" 'NR >= from && $2 == "RX" && $3 == "65" && $4 == "01" {
      if (have) printf "%d\n", $1 - last; last = $1; have = 1 }' "$e2e_log" |
    sort -n | awk '{ g[NR] = $1 } END { if (NR == 0) print -1; else print g[int((NR + 1) / 2)] }'
}

e2e_log_lines() { wc -l <"$e2e_log"; }
# Succeeds when the simulator answered a request of CODE (hex: 01 status, 02 readings, 03 and
# 04 the settings blocks, 0E InjectDelay ...) at line FROM of its log or later.
e2e_answered_since() {
  awk -v from="$1" -v code="$2" 'NR >= from && $2 == "RX" && $4 == code && !/no answer/ {
      found = 1 } END { exit !found }' "$e2e_log"
}
# The line number of the last such answer, 0 when there is none.
e2e_last_answer() {
  awk -v code="$1" '$2 == "RX" && $4 == code && !/no answer/ { at = NR } END { print at + 0 }' \
    "$e2e_log"
}
# How many requests of CODE the simulator received, answered or not, from line FROM on.
e2e_requests_since() {
  awk -v from="$1" -v code="$2" 'NR >= from && $2 == "RX" && $4 == code { n++ } END { print n + 0 }' \
    "$e2e_log"
}
# The program holds the controller's set: a settings block 2 answer at line FROM (default 1)
# or later, and a status answer after it.
e2e_image_filled() {
  local at
  at=$(e2e_last_answer 04)
  [ "$at" -gt 0 ] && [ "$at" -ge "${1:-1}" ] && e2e_answered_since "$((at + 1))" 01
}
# The line of the simulator's last EVENT ("silent", "answering", a fault's name), 0 when none.
e2e_event_line() {
  awk -v e="($1)" '$2 == "--" && substr($0, index($0, "-- ") + 3) == e { at = NR }
      END { print at + 0 }' "$e2e_log"
}

# An id by its name: the program's from res/resource.h, and the few of Windows the tests meet.
e2e_id() {
  case $1 in
    IDOK) echo 1 ;;
    IDCANCEL) echo 2 ;;
    IDC_STATIC) echo 65535 ;; # a message box's text
    cmb13) echo 1148 ;;       # the file dialogs' name box (dlgs.h)
    *) awk -v n="$1" '$1 == "#define" && $2 == n { print $3; found = 1 } END { exit !found }' \
      "$e2e_root/res/resource.h" ;;
  esac
}

# kestos-probe against the running program (same Wine server). Ids may be given by name.
e2e_probe() {
  local args=() a
  for a in "$@"; do
    if [[ $a =~ ^(ID[A-Z0-9_]+|cmb13)$ ]]; then a=$(e2e_id "$a") || e2e_fail "no id named $a"; fi
    args+=("$a")
  done
  "$kestos_wine" "$e2e_win/tests/e2e/kestos-probe.exe" "${args[@]}" </dev/null 2>/dev/null | tr -d '\r'
}

# The common file dialogs: up when their name box answers; a command that opens one, then the
# file typed into it (OK follows).
e2e_file_dialog_up() { e2e_probe dialog text cmb13 >/dev/null; }
e2e_no_dialog() { ! e2e_probe dialog text IDOK >/dev/null 2>&1; }
e2e_choose_file() { # COMMAND PATH
  e2e_probe post-command "$1"
  e2e_wait_for 5 e2e_file_dialog_up || e2e_fail "command $1 showed no file dialog"
  e2e_probe dialog type cmb13 "$("$kestos_wine" winepath -w "$2" 2>/dev/null)"
}

# Design coordinate to page pixels of size class 3 (the 1024x768 desktop of these tests).
e2e_x() { awk -v v="$1" 'BEGIN { print int(v * 1.28) }'; }
e2e_y() { awk -v v="$1" 'BEGIN { print int(v * 1.32) }'; }

# Pixels of colour RRGGBB in a page rectangle of device pixels L T R B, read from a fresh
# screenshot.
e2e_count_pixels() {
  local origin ox oy
  origin=$(e2e_probe origin) || return 1
  read -r ox oy <<<"$origin"
  import -window root -crop "$(($3 - $1))x$(($4 - $2))+$((ox + $1))+$((oy + $2))" \
    "$e2e_dir/probe.ppm" 2>/dev/null || return 1
  convert "$e2e_dir/probe.ppm" -depth 8 txt:- | grep -c -i "#$5" || true
}
# The same for a rectangle in design coordinates.
e2e_count() {
  e2e_count_pixels "$(e2e_x "$1")" "$(e2e_y "$2")" "$(e2e_x "$3")" "$(e2e_y "$4")" "$5"
}
# Succeeds when the count a command prints is above $1.
more_than() { local n; n=$("${@:2}"); [ "${n:-0}" -gt "$1" ]; }
# Red pixels on line 1 of the Readings page's status section, where it says the link is down.
e2e_link_down_red() { e2e_count 40 405 440 423 FF0000; }

# Waits up to $1 seconds for a command to succeed.
e2e_wait_for() {
  local limit=$1 _
  shift
  for _ in $(seq $((limit * 5))); do "$@" && return 0; sleep 0.2; done
  return 1
}
