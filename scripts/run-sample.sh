#!/usr/bin/env bash
# Sets up what the program alone needs, builds it, and recovers every message of the bundled sample
# store into build/sample-output.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" native
"$root/scripts/build.sh" release
output="$root/build/sample-output"
mkdir -p "$output"
"$root/build/release/cli/palvenor-cli" --output "$output" "$root/build/release/sample/sample.dbx"
