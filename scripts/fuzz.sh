#!/usr/bin/env bash
# The fuzz targets (clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer): the
# language file loader, the settings reader, the .kss reader and the device link. Each runs
# from the committed seeds in tests/fuzz/corpus/<target> (the language loader from the
# program's own Lang/) and a working corpus in build/fuzz/corpus/<target>; a finding stops the
# script and leaves its input in build/fuzz/findings/.
# Usage: fuzz.sh [seconds per target, default 60]   FUZZ_RUNS=N runs N inputs per target instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTOS_BUILD:-$root/build}/fuzz
seconds=${1:-60}
targets=(language settings kss link drive_log)

"$root/scripts/deps.sh" fuzz
KESTOS_BUILD_TARGETS="${targets[*]/#/fuzz_}" "$root/scripts/build.sh" fuzz >/dev/null

mkdir -p "$build/findings"
for t in "${targets[@]}"; do
  mkdir -p "$build/corpus/$t"
  limit=(-max_total_time="$seconds")
  [ -n "${FUZZ_RUNS:-}" ] && limit=(-runs="$FUZZ_RUNS")
  log="$build/fuzz_$t.log"
  seeds="$root/tests/fuzz/corpus/$t"
  [ "$t" = language ] && seeds="$root/Lang"
  if ! "$build/tests/fuzz/fuzz_$t" "${limit[@]}" -print_final_stats=1 \
    -artifact_prefix="$build/findings/$t-" "$build/corpus/$t" "$seeds" \
    >"$log" 2>&1; then
    tail -n 30 "$log" >&2
    echo "fuzz_$t: a finding, see $build/findings/" >&2
    exit 1
  fi
  echo "fuzz_$t: $(grep -ao 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$') inputs, no finding"
done
