#!/usr/bin/env bash
# Brings a fresh Debian 12 to what a build needs. Idempotent; silent when nothing is to do.
#   scripts/setup.sh native   the compiler, a compiler cache, CMake, Ninja and CLI11: enough to build and
#                             run palvenor-cli
#   scripts/setup.sh [all]    everything the tests need as well: GoogleTest, help2man and man, libfuse3
#                             for the failing-disk tests, clang for the fuzzers, mingw-w64 and Wine
#                             (about 2.3 GB) with Xvfb for the Windows build
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
what=${1:-all}

native=(build-essential cmake ninja-build ccache libcli11-dev)
case $what in
  native) packages=("${native[@]}") ;;
  all)
    packages=(
      "${native[@]}" googletest help2man man-db python3 time undbx
      clang libclang-rt-14-dev libfuse3-dev fuse3 pkg-config e2fsprogs
      mingw-w64 wine wine64 xvfb xauth imagemagick fonts-ipafont-gothic locales fp-utils-3.2.2 zip
    )
    ;;
  *) echo "usage: $0 [native|all]" >&2; exit 2 ;;
esac

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
sudo=""; [[ $(id -u) -eq 0 ]] || sudo=sudo
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}" >&2
  $sudo apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi
[[ $what == native ]] && exit 0

# Wine reports code page 932 only under a generated ja_JP.UTF-8 locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  $sudo localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi

"$root/scripts/wine-prefix.sh"
