#!/usr/bin/env bash
# Builds the fuzz flavour and runs each fuzzer for a bounded time, one after the other.
#   scripts/fuzz.sh SECONDS [scan|freed|index|header|mime|date|charsets|naming|preview ...]
# Seeds come from the DBX writer, the sample messages and the real stores (read where they lie).
# Corpora grow in build/fuzz/corpus; a crashing input is left in build/fuzz/findings and fails the run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:?usage: $0 SECONDS [FUZZER...]}
shift
fuzzers=("$@")
((${#fuzzers[@]})) || fuzzers=(scan freed index header mime date charsets naming preview)

real_dbx=${PALVENOR_REAL_DBX_DIR:-}
if [[ -z $real_dbx ]]; then
  for candidate in "$root/../shared/real-dbx" "$root/../../shared/real-dbx"; do
    [[ -d $candidate ]] && { real_dbx=$(cd "$candidate" && pwd); break; }
  done
fi

"$root/scripts/build.sh" fuzz
build="$root/build/fuzz"
corpus="$build/corpus"
"$build/fuzz/fuzz-seeds" "$corpus" "$root/sample/messages" ${real_dbx:+"$real_dbx"}

for fuzzer in "${fuzzers[@]}"; do
  findings="$build/findings/$fuzzer"
  mkdir -p "$findings"
  extra=()
  slow=20
  case $fuzzer in
    # Whole real stores (139 KB) fit; the windows and lines are sized to the store, and an input placed
    # at the second window makes a store of little more than 1 MiB.
    scan|freed|index) extra=(-max_len=160000 ${real_dbx:+"$real_dbx"}) ;;
    header|preview) extra=(-max_len=70000) ;;
    *) extra=(-max_len=4096) ;;
  esac
  echo "== fuzz: $fuzzer for ${seconds}s"
  "$build/fuzz/fuzz_$fuzzer" -max_total_time="$seconds" -timeout="$slow" -report_slow_units="$slow" -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/" "${extra[@]:0:1}" "$corpus/$fuzzer" "${extra[@]:1}" 2>&1 |
    grep -E '^(#[0-9]+[[:space:]]+DONE|stat::|==[0-9]+==ERROR|SUMMARY|artifact_prefix)|Test unit written' || true
  if compgen -G "$findings/*" >/dev/null; then
    echo "fuzz: $fuzzer found a failing input: $(ls "$findings")" >&2
    exit 1
  fi
done
