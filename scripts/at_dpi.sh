#!/usr/bin/env bash
# Runs a command with the test prefix's screen at DPI dots per inch (LogPixels, as the display
# settings of Windows write it), and puts 96 back afterwards, whatever the command did.
# Usage: at_dpi.sh DPI WINE COMMAND...   (inside the Wine server of the tests' prefix)
set -euo pipefail
dpi=$1 wine=$2
shift 2
key='HKCU\Control Panel\Desktop'
restore() { "$wine" reg delete "$key" /v LogPixels /f >/dev/null 2>&1 || true; }
trap restore EXIT
"$wine" reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
KESTOS_DPI=$dpi "$wine" "$@"
