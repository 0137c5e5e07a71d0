#!/usr/bin/env bash
# Proves that two builds of palvenor-cli produce the same output: the same file names, bytes and times
# (a time the run itself gave a file, rather than the message's date, only has to be recent in both).
#   Usage: bench/same-output.sh OLD-CLI NEW-CLI STORE... [-- CLI-OPTIONS...]
set -euo pipefail
old=$1 new=$2
shift 2
stores=() options=()
while (($#)); do
  if [[ $1 == -- ]]; then shift; options=("$@"); break; fi
  stores+=("$1")
  shift
done
scratch=$(mktemp -d "${TMPDIR:-/tmp}/same-output.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
# Whether the run folders hold the same bytes; two runs that left no folder agree.
same_bytes() {
  local old_run=("$scratch"/old/*/) new_run=("$scratch"/new/*/)
  ((${#old_run[@]} + ${#new_run[@]} == 0)) || diff -r "${old_run[@]}" "${new_run[@]}" >/dev/null 2>&1
}
shopt -s nullglob
status=0
for store in "${stores[@]}"; do
  for side in old new; do
    rm -rf "${scratch:?}/$side" && mkdir -p "$scratch/$side"
    started=$(date +%s)
    "${!side}" --quiet --output "$scratch/$side" "${options[@]}" "$store" >/dev/null || true
    # The folder's name carries the time of the run; what is inside it is compared. A run that finds
    # nothing leaves no folder.
    (cd "$scratch/$side" && find . -mindepth 2 -type f -printf '%P\t%s\t%T@\n' | sed 's|^[^/]*/||' | sort) |
      awk -F'\t' -v now="$started" '{ print $1, $2, ($3 >= now - 2) ? "written by the run" : $3 }' >"$scratch/$side.list"
  done
  if diff -q "$scratch/old.list" "$scratch/new.list" >/dev/null && same_bytes; then
    echo "same: $store ($(wc -l <"$scratch/new.list") files)"
  else
    echo "DIFFERENT: $store"
    diff "$scratch/old.list" "$scratch/new.list" | head -5 || true
    status=1
  fi
done
exit $status
