#!/usr/bin/env bash
# Configures and builds one flavour: native (default, with the tests), release (the optimised program
# without the tests: what scripts/setup.sh native allows), sanitize (ASan + UBSan), tsan (ThreadSanitizer:
# the engine, CLI and fault tests only), windows (mingw-w64) or fuzz (the libFuzzer targets, clang with ASan + UBSan).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
flavour=${1:-native}
case $flavour in
  native)   options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  release)  options=(-DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF) ;;
  sanitize) options=(-DCMAKE_BUILD_TYPE=Debug -DPALVENOR_SANITIZE=ON) ;;
  tsan)     options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DPALVENOR_TSAN=ON) ;;
  windows)  options=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake") ;;
  fuzz)     options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DPALVENOR_FUZZ=ON -DBUILD_TESTING=OFF) ;;
  *) echo "usage: $0 [native|release|sanitize|tsan|windows|fuzz]" >&2; exit 2 ;;
esac
build="$root/build/$flavour"
# A compiler cache makes the next build of a flavour, in this clone or a fresh one, cost only what
# changed. Paths below the clone are hashed relative to it, so that clones anywhere share the cache.
if command -v ccache >/dev/null; then
  options+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR=$root CCACHE_NOHASHDIR=1
fi
if [[ ! -f $build/build.ninja ]]; then
  cmake -S "$root" -B "$build" -G Ninja "${options[@]}" >/dev/null
fi
targets=()
[[ $flavour == fuzz ]] && targets=(--target fuzzers)
[[ $flavour == tsan ]] && targets=(--target engine_tests cli_tests faults_tests)
cmake --build "$build" "${targets[@]}" -- --quiet
