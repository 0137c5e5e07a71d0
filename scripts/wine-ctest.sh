#!/usr/bin/env bash
# Runs ctest of a Windows build under Wine, inside the caller's X display.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
# A persistent wineserver keeps ctest from waiting on Wine's services after every test.
wineserver -p >/dev/null 2>&1
wine wineboot >/dev/null 2>&1 || true
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
ctest --test-dir "$1" --output-on-failure -j2 "${@:2}"
