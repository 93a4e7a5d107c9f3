#!/usr/bin/env bash
# Everything: native unit tests, the same under ASan+UBSan, then the windows build's tests
# under Wine on a virtual display, against kestos-sim on COM1, and the packages.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTOS_BUILD:-$root/build}

source "$root/scripts/i386.sh"

"$root/scripts/deps.sh" dist fuzz test
export KESTOS_DEPS_DONE=1 # what the tests start finds everything installed
"$root/scripts/build.sh" native asan win
"$root/scripts/dist.sh" >/dev/null

echo "== native tests"
ctest --test-dir "$build/native" --output-on-failure
echo "== native tests under AddressSanitizer and UndefinedBehaviorSanitizer"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$build/asan" --output-on-failure
echo "== fuzz targets, briefly (make fuzz runs them longer)"
"$root/scripts/fuzz.sh" 15
echo "== windows tests under Wine"
"$root/scripts/wine_tests.sh" "$build/win" "$build/native"
blocker=$(wine32_blocker)
if [ -n "$blocker" ]; then
  echo "== not run: the installer, the installed 32-bit programs and the uninstaller" \
    "($blocker); the packages' contents were checked"
fi
echo "== all tests passed"
