#!/usr/bin/env bash
# make-installer.sh BUILD_DIR [VERSION [OUT_FILE]]: builds the installer from
# the Windows build tree BUILD_DIR with makensis and prints its path. The
# version defaults to the file VERSION at the top of the tree, the installer
# to BUILD_DIR/TelvantisSetup-<version>.exe.
set -euo pipefail
[ "$#" -ge 1 ] && [ "$#" -le 3 ] || { echo "usage: make-installer.sh BUILD_DIR [VERSION [OUT_FILE]]" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
version=${2:-$(tr -d '\r\n' <"$here/../../VERSION")}
out=${3:-$build/TelvantisSetup-$version.exe}
makensis -V2 -DBUILD_DIR="$build" -DVERSION="$version" -DOUT_FILE="$out" "$here/Telvantis.nsi" >&2
echo "$out"
