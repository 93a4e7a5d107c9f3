#!/usr/bin/env bash
# The generated resources are what their scripts make: each script writes into a folder of its
# own here, and every file it writes must equal, byte for byte, the committed one in res/. A
# hand edit of a template or a bitmap, or a script changed without its output, fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

python3 "$root/scripts/make_param_templates.py" "$out/param_pages.rc" >/dev/null
python3 "$root/scripts/make_res_images.py" "$out" >/dev/null
python3 "$root/scripts/make_schema_images.py" "$out" >/dev/null

status=0
for f in "$out"/*; do
  cmp -s "$f" "$root/res/${f##*/}" || { echo "res/${f##*/} differs from what its script makes" >&2; status=1; }
done
# Six pictures and the icon, two diagrams, one template script.
[ "$(ls "$out" | wc -l)" -ge 9 ] || { echo "the scripts wrote only $(ls "$out" | wc -l) files" >&2; status=1; }
exit $status
