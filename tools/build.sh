#!/usr/bin/env bash
# Builds both trees: the native tree (portable core and its unit tests) in
# build/native and the Windows tree (the programs, cross-built with
# mingw-w64) in build/windows. Extra arguments go to both builds.
#   tools/build.sh --sanitizers [ARGS...]   builds only a third tree,
#     build/native-asan: the native tree under the address and undefined-
#     behaviour sanitizers, where any report ends the program with a failure.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)

if [ "${1:-}" = --sanitizers ]; then
  shift
  sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
  cmake -S "$top" -B "$top/build/native-asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_FLAGS="$sanitizers" -DCMAKE_C_FLAGS="$sanitizers" >/dev/null
  cmake --build "$top/build/native-asan" -j "$jobs" "$@"
  exit
fi

cmake -S "$top" -B "$top/build/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$top/build/native" -j "$jobs" "$@"

cmake -S "$top" -B "$top/build/windows" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake" >/dev/null
cmake --build "$top/build/windows" -j "$jobs" "$@"
