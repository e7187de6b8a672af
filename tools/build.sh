#!/usr/bin/env bash
# Builds both trees: the native tree (portable core and its unit tests) in
# build/native and the Windows tree (the programs, cross-built with
# mingw-w64) in build/windows. Extra arguments go to both builds.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S "$top" -B "$top/build/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$top/build/native" -j "$jobs" "$@"

cmake -S "$top" -B "$top/build/windows" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake" >/dev/null
cmake --build "$top/build/windows" -j "$jobs" "$@"
