#!/usr/bin/env bash
# Builds both trees: the native tree (portable core and its unit tests) in
# build/native and the Windows tree (the programs, cross-built with
# mingw-w64) in build/windows, then the installer
# build/windows/TelvantisSetup-<version>.exe (the version is in the file
# VERSION) when NSIS's makensis is installed. Extra arguments go to both
# builds; when they choose targets (--target, -t) the installer is left out.
#   tools/build.sh --sanitizers [ARGS...]   builds only a third tree,
#     build/native-asan: the native tree under the address and undefined-
#     behaviour sanitizers, where any report ends the program with a failure.
#   tools/build.sh --for-tests [ARGS...]    builds the Windows tree and, of
#     the native tree, only the tools that the Wine tests run (the test-media
#     generator and the recording checker): the test command runs the unit
#     tests in the sanitizer tree, so it need not build them twice.
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

native_targets=()
if [ "${1:-}" = --for-tests ]; then
  shift
  native_targets=(--target tsgen telvtscheck)
fi

cmake -S "$top" -B "$top/build/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$top/build/native" -j "$jobs" "${native_targets[@]}" "$@"

cmake -S "$top" -B "$top/build/windows" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake" >/dev/null
cmake --build "$top/build/windows" -j "$jobs" "$@"

# The installer, from a whole build only.
whole=1
for arg in "$@"; do
  case $arg in --target|--target=*|-t) whole=0 ;; esac
done
if [ "$whole" = 1 ]; then
  if command -v makensis >/dev/null 2>&1; then
    echo "installer: $(bash "$top/dist/installer/make-installer.sh" "$top/build/windows")"
  else
    echo "no makensis: the installer is not built (apt-get install nsis)"
  fi
fi
