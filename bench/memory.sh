#!/usr/bin/env bash
# Peak memory of palvenor-cli on stores of 32 MiB made to cost the most per byte (make-hostile-stores),
# against the bound for the freed-block search, and the same for the densest live messages.
#   Usage: bench/memory.sh       (PALVENOR_BENCH_DIR: where the stores go, default build/bench-data)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
data=${PALVENOR_BENCH_DIR:-$root/build/bench-data}/hostile
build=$root/build/native
[[ -x /usr/bin/time ]] || "$root/scripts/setup.sh"
if [[ ! -f $build/build.ninja ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j2 --target palvenor-cli make-hostile-stores -- --quiet
"$build/bench/make-hostile-stores" "$data"
work=$(mktemp -d "${TMPDIR:-/tmp}/palvenor-memory.XXXXXX")
trap 'rm -rf "$work"' EXIT

budget_kb=$((100 * 1024))
printf '| %s | %s | %s | %s |\n' "Store (32 MiB)" "Peak RSS" "Files" "Bound" "---" "---" "---" "---"
for store in freed-every-12 freed-every-8 freed-overlapping live-every-20; do
  options=() label=$store
  [[ $store == freed-every-8 ]] && options=(--no-pointer-check) label="$store --no-pointer-check"
  rm -rf "$work/out" && mkdir "$work/out"
  /usr/bin/time -v -o "$work/time.txt" "$build/cli/palvenor-cli" --quiet "${options[@]}" --output "$work/out" \
    "$data/$store.dbx" >/dev/null 2>&1 || true
  rss_kb=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")
  files=$(find "$work/out" -type f | wc -l)
  bound="≤ 100 MiB $( ((rss_kb <= budget_kb)) && echo met || echo NOT met)"
  [[ $store == live-* ]] && bound="none (a record per message)"
  printf '| %s | %d MiB | %d | %s |\n' "$label" $((rss_kb / 1024)) "$files" "$bound"
done
