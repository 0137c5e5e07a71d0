#!/usr/bin/env bash
# Sets up the machine, builds all five flavours and runs every test: native, under ASan + UBSan and
# under ThreadSanitizer, each fuzzer for a short while, and the Windows build under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" all

for flavour in native sanitize; do
  "$root/scripts/build.sh" "$flavour"
  echo "== tests: $flavour"
  ctest --test-dir "$root/build/$flavour" --output-on-failure -j2
done

# The threads of a run (read-ahead, decider, writer), stops, failures and batches under ThreadSanitizer:
# any report fails the test that met it.
"$root/scripts/build.sh" tsan
echo "== tests: tsan"
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
  ctest --test-dir "$root/build/tsan" -R '^(engine|cli|faults)$' --output-on-failure -j2

echo "== fuzzing"
"$root/scripts/fuzz.sh" 25

"$root/scripts/build.sh" windows
echo "== tests: windows (Wine)"
xvfb-run -a -s "-screen 0 1024x768x24" "$root/scripts/wine-ctest.sh" "$root/build/windows"
