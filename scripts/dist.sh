#!/usr/bin/env bash
# The packages a fitter downloads, from the 32-bit programs (they run on 32- and 64-bit
# Windows alike): build/dist/KestoS-<version>-setup.exe and build/dist/KestoS-<version>-portable.zip.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTOS_BUILD:-$root/build}
version=$("$root/scripts/version.sh")
dist=$build/dist
stage=$dist/KestoS-$version

"$root/scripts/deps.sh" dist
KESTOS_BUILD_TARGETS="KestoS kestos-cli" "$root/scripts/build.sh" win32

rm -rf "$stage" && mkdir -p "$stage/Lang"
cp "$build/win32/shell/KestoS.exe" "$build/win32/cli/kestos-cli.exe" "$stage/"
i686-w64-mingw32-strip "$stage/KestoS.exe" "$stage/kestos-cli.exe"
cp "$root/Lang/KestoS_lang.pol" "$root/Lang/KestoS_lang.ang" "$stage/Lang/"
sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$root/scripts/readme.txt" >"$stage/README.txt"

# The same bytes from the same sources: fixed times in the zip.
find "$stage" -exec touch -h -d '2026-01-01 00:00:00 UTC' {} +
rm -f "$dist/KestoS-$version-portable.zip"
(cd "$dist" && TZ=UTC zip -q -X -r "KestoS-$version-portable.zip" "KestoS-$version")
makensis -V2 "-DVERSION=$version" "-DSTAGE=$stage" "-DICON=$root/res/kestos.ico" \
  "-DOUTFILE=$dist/KestoS-$version-setup.exe" "$root/scripts/installer.nsi"
ls -l "$dist"/*.exe "$dist"/*.zip
