#!/usr/bin/env bash
# Brings a fresh Debian 12 to what the builds and tests need. Idempotent; silent when nothing is to do.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(
  build-essential cmake ninja-build googletest libcli11-dev python3
  clang libclang-rt-14-dev
  mingw-w64 wine wine64 xvfb xauth imagemagick fonts-ipafont-gothic locales fp-utils-3.2.2 zip
  undbx time
)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if ((${#missing[@]})); then
  sudo=""; [[ $(id -u) -eq 0 ]] || sudo=sudo
  echo "setup: installing ${missing[*]}" >&2
  $sudo apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  sudo=""; [[ $(id -u) -eq 0 ]] || sudo=sudo
  $sudo localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi

"$root/scripts/wine-prefix.sh"
