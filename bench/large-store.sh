#!/usr/bin/env bash
# Peak memory and time of palvenor-cli over a sparse 5 GiB store, against cat of the same file: the
# scan reads the whole file, and its memory must not grow with the file.
#   Usage: bench/large-store.sh [CLI]   (default build/native/cli/palvenor-cli)
#   PALVENOR_BENCH_WORK  where the store and the output go (default a new folder under TMPDIR)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build/native/cli/palvenor-cli}
sample=$root/build/native/sample/sample.dbx
[[ -x $cli && -f $sample ]] || { echo "build first: scripts/build.sh native" >&2; exit 2; }
work=${PALVENOR_BENCH_WORK:-$(mktemp -d "${TMPDIR:-/tmp}/large-store.XXXXXX")}
trap 'rm -rf "$work"' EXIT
store=$work/large.dbx
gib=$((1024 * 1024 * 1024))

# The sample store at the start, at 3 GiB and at 4.5 GiB of a 5 GiB file that is holes elsewhere;
# the copies beyond the start are found with the pointer check off.
truncate -s $((5 * gib)) "$store"
for at in 0 $((3 * gib)) $((4 * gib + gib / 2)); do
  dd if="$sample" of="$store" bs=1M seek="$at" oflag=seek_bytes conv=notrunc status=none
done

measure() {
  /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null
  read -r seconds kib <"$work/time"
  printf '%-40s %8s s %10s KiB peak RSS\n' "$label" "$seconds" "$kib"
}
label="cat (first read, fills the page cache)" measure cat "$store"
label="cat" measure cat "$store"
for option in "" --no-pointer-check; do
  rm -rf "$work/out" && mkdir "$work/out"
  label="palvenor-cli $option" measure "$cli" --quiet --output "$work/out" $option "$store"
  echo "  messages: $(find "$work/out" -name '*.eml' | wc -l)"
done
