#!/usr/bin/env bash
# Sets up, builds, and recovers every message of the bundled sample store into build/sample-output.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" native
output="$root/build/sample-output"
mkdir -p "$output"
"$root/build/native/cli/palvenor-cli" --output "$output" "$root/build/native/sample/sample.dbx"
