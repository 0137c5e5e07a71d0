#!/usr/bin/env bash
# Sets up the machine, builds all four flavours and runs every test: native, under ASan + UBSan,
# each fuzzer for a short while, and the Windows build under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" all

for flavour in native sanitize; do
  "$root/scripts/build.sh" "$flavour"
  echo "== tests: $flavour"
  ctest --test-dir "$root/build/$flavour" --output-on-failure -j2
done

echo "== fuzzing"
"$root/scripts/fuzz.sh" 25

"$root/scripts/build.sh" windows
echo "== tests: windows (Wine)"
xvfb-run -a -s "-screen 0 1024x768x24" "$root/scripts/wine-ctest.sh" "$root/build/windows"
