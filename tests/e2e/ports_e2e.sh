#!/usr/bin/env bash
# Ports beyond COM4 with the real program and kestos-cli.exe under Wine: COM7 and COM12 are
# simulators (COM12 opens as \\.\COM12), COM1's is silent. kestos-cli lists and probes them and
# finds the controller by itself; Find controller in the program skips the silent COM1, picks
# COM7 and says so; COM12 chosen is polled and kept as KestoS.ini's fourth line, which the next
# start uses, with the link down while its adapter is away and back when it returns.
source "$(dirname "$0")/../../scripts/e2e_lib.sh"

e2e_prepare ang
e2e_start_sim --silent
log7="$e2e_dir/sim7.log" log12="$e2e_dir/sim12.log"
start_on() { # N LOG
  local started=0
  kestos_start_sim "$e2e_sim" "$e2e_win/vcom$1" --log "$2" || started=$?
  e2e_pids+=("$kestos_sim_pid")
  [ "$started" = 0 ] || e2e_fail "the simulator on COM$1 did not start"
}
start_on 7 "$log7"
sim7=$kestos_sim_pid
start_on 12 "$log12"
sim12=$kestos_sim_pid
cli() { "$kestos_wine" "$e2e_win/cli/kestos-cli.exe" "$@" </dev/null 2>&1 | tr -d '\r'; }

listed=$(cli ports)
grep -q '^COM7' <<<"$listed" && grep -q '^COM12' <<<"$listed" || e2e_fail "ports lists: $listed"
probed=$(cli --json ports --probe)
grep -q '"name":"COM7","device":"[^"]*","answer":"controller"' <<<"$probed" ||
  e2e_fail "COM7 does not probe as a controller: $probed"
grep -q '"name":"COM12","device":"[^"]*","answer":"controller"' <<<"$probed" ||
  e2e_fail "COM12 does not probe as a controller: $probed"
grep -q '"name":"COM1","device":"[^"]*","answer":"no answer"' <<<"$probed" ||
  e2e_fail "the silent COM1 probes as: $probed"
from=$(($(wc -l <"$log12") + 1))
cli --port COM12 status >/dev/null || e2e_fail "kestos-cli --port COM12 gets no status"
cli --port auto status >/dev/null || e2e_fail "--port auto found no controller"

e2e_start_display 1024x768
e2e_start_program
ini_says() { tr -d '\r' <"$e2e_dir/KestoS.ini" | grep -qx "$1"; }
polled() { # LOG FROM: a status request answered there from line FROM on
  awk -v from="$2" 'NR >= from && $2 == "RX" && $4 == "01" && !/no answer/ { f = 1 } END { exit !f }' "$1"
}
e2e_probe post-command IDM_PORT_FIND
says() { e2e_probe dialog text IDC_STATIC | grep -q "$1"; }
e2e_wait_for 10 says "A controller answers on COM7" || e2e_fail "Find controller did not say COM7"
e2e_probe dialog click IDOK
ini_says "CommPortName= COM7" || e2e_fail "Find did not choose COM7"
from=$(($(wc -l <"$log7") + 1))
e2e_wait_for 5 polled "$log7" "$from" || e2e_fail "COM7 is not polled after Find"

e2e_probe command $(($(e2e_id IDM_PORT_OTHER_FIRST) + 12))
from=$(($(wc -l <"$log12") + 1))
e2e_wait_for 5 polled "$log12" "$from" || e2e_fail "COM12 is not polled once chosen"
ini_says "CommPortName= COM12" && ini_says "CommPort= 1" || e2e_fail "KestoS.ini: $(cat "$e2e_dir/KestoS.ini")"

# The next start with COM12's adapter away: link down, then back by itself.
kill "$e2e_program_pid" 2>/dev/null || true
wine_stop_server
kill "$sim12"
e2e_wait_for 5 test ! -e "$e2e_win/vcom12" || e2e_fail "the COM12 simulator's link stayed"
e2e_start_program
e2e_wait_for 10 more_than 20 e2e_link_down_red || e2e_fail "no link-down message with COM12 away"
start_on 12 "$log12.2"
e2e_wait_for 15 polled "$log12.2" 1 || e2e_fail "no reconnection on COM12"
link_up() { [ "$(e2e_link_down_red)" = 0 ]; }
e2e_wait_for 5 link_up || e2e_fail "the link-down message stays"
echo PASS
