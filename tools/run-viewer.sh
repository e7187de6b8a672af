#!/usr/bin/env bash
# Shows the viewer with live television from the virtual antenna.
#
#   bash tools/run-viewer.sh
#
# On a fresh Debian machine it installs what is missing, builds both trees,
# makes a private Wine prefix with the stand-in platform, the default virtual
# antenna and a channels.txt for it, and starts Telvantis.exe. With a display
# (DISPLAY set) the viewer opens there and the script waits until you close
# it. Without one it runs on a private Xvfb, writes a screenshot of the
# desktop after a few seconds of television, says where, and ends the
# viewer.
# Settings: RUN_VIEWER_SCREENSHOT (the picture's path, default
# build/screenshots/run-viewer.png), RUN_VIEWER_SECONDS (how long to let the
# picture run before the screenshot, default 8), HARNESS_KEEP=1 (keep the
# prefix and the working folder), RUN_VIEWER_BUILD=0 (use the trees as they
# are), HARNESS_BUILD (another Windows build tree).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
screenshot=${RUN_VIEWER_SCREENSHOT:-$top/build/screenshots/run-viewer.png}
seconds=${RUN_VIEWER_SECONDS:-8}

say() { echo "run-viewer: $*" >&2; }

# The Debian packages of the build and of Wine, when a command is missing.
install_missing() {
  local missing=0 command
  for command in cmake g++ x86_64-w64-mingw32-g++-posix wine wineserver Xvfb convert; do
    command -v "$command" >/dev/null 2>&1 || missing=1
  done
  [ -f /usr/include/gtest/gtest.h ] || missing=1
  [ "$missing" -eq 0 ] && return 0
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  say "installing the packages the build and Wine need"
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y \
    cmake g++ make googletest libgtest-dev libgmock-dev \
    mingw-w64 g++-mingw-w64-x86-64 \
    wine64 wine xvfb xauth imagemagick ffmpeg \
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good \
    libgl1-mesa-dri libglx-mesa0
}

install_missing
if [ "${RUN_VIEWER_BUILD:-1}" = 1 ]; then
  say "building (build/native and build/windows; log in build/run-viewer-build.log)"
  mkdir -p "$top/build"
  "$top/tools/build.sh" >"$top/build/run-viewer-build.log" 2>&1 ||
    { say "the build failed: see build/run-viewer-build.log"; exit 1; }
fi

source "$top/tools/wine-harness.sh"

# A private prefix (and, without a display, a private X server), set up as
# the test harness does it but on the user's display when there is one.
export HARNESS_BUILD=${HARNESS_BUILD:-$top/build/windows}
export HARNESS_DRIVER=$HARNESS_BUILD/tests/wine/telvdriver.exe
mkdir -p "$top/.wine-run"
HARNESS_RUN=$(mktemp -d "$top/.wine-run/viewer.XXXXXX")
HARNESS_OWNER=$BASHPID
export HARNESS_RUN HARNESS_OWNER
trap harness_teardown EXIT
mkdir -p "$HARNESS_RUN/home"
printf '%s\n' 'pcm.!default { type null }' 'ctl.!default { type hw card 0 }' \
  >"$HARNESS_RUN/home/.asoundrc"
export HOME=$HARNESS_RUN/home WINEPREFIX=$HARNESS_RUN/prefix
export WINEDEBUG=${HARNESS_WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
unset WAYLAND_DISPLAY

display_works() {
  local number=${DISPLAY:-}
  number=${number#*:}
  number=${number%%.*}
  [ -n "$number" ] && [ -S "/tmp/.X11-unix/X$number" ]
}
on_screen=0
if display_works; then
  on_screen=1
  say "using the display $DISPLAY"
else
  harness_start_xvfb || { say "cannot start Xvfb"; exit 1; }
  say "no display: running on a private Xvfb ($DISPLAY)"
fi
say "making a Wine prefix in $WINEPREFIX"
harness_make_prefix || { say "cannot make the Wine prefix"; exit 1; }

# The stand-in platform with the default virtual antenna and a tuner of the
# catalogue, and a working folder with the channels.txt that goes with it.
tuner="Hauppauge WinTV 885 BDA Tuner/Demod"
capture="Hauppauge WinTV 885 TS Capture"
panel="Telvantis- Hauppauge WinTV 885"
video="Telvantis Video- Hauppauge WinTV 885"
work=$HARNESS_RUN/viewer
mkdir -p "$work"
say "installing the stand-in platform and the default antenna"
bash "$top/tools/make-antenna.sh" "$work" >"$HARNESS_RUN/make-antenna.log" 2>&1 ||
  { say "make-antenna.sh failed: see $HARNESS_RUN/make-antenna.log"; exit 1; }
bash "$top/tools/standin-install.sh" --clear-devices --tuner "$tuner" --capture "$capture" \
  --antenna "$work/antenna.txt" --fail "" >"$HARNESS_RUN/standin-install.log" 2>&1 ||
  { say "standin-install.sh failed: see $HARNESS_RUN/standin-install.log"; exit 1; }

harness_start "$work" "$(harness_exe Telvantis)"
viewer=$HARNESS_PID
if ! harness_driver wait "$video" 60 >/dev/null; then
  say "the viewer did not open its video window (see $work/Telvantis.out)"
  exit 1
fi
if [ "$on_screen" -eq 1 ]; then
  say "the viewer runs; close it (EXIT or Q) to end"
  while ! harness_is_gone "$viewer"; do sleep 1; done
else
  sleep "$seconds"
  mkdir -p "$(dirname "$screenshot")"
  harness_screenshot "$screenshot" || { say "no screenshot"; exit 1; }
  say "screenshot of the viewer with live television: $screenshot"
  harness_driver key "$panel" Q >/dev/null || true  # Q ends it like the EXIT button
  harness_wait_until 20 harness_is_gone "$viewer" || true
fi
