#!/usr/bin/env bash
# standin-install.sh: registers the stand-in platform into a Wine prefix: the
# stand-in servers (telvstandin-bda.dll, telvstandin-demux.dll,
# telvstandin-decoders.dll, telvstandin-streambuffer.dll), optionally the
# suite's transport-stream filters, virtual tuner and capture devices under the names given, and the
# settings (antenna file, tuning spaces, steps to fail). Never for Windows:
# there the stand-ins would replace the system's own components.
#
#   standin-install.sh [--ts-filters] [--tuner NAME]... [--capture NAME]...
#                      [--antenna FILE] [--tuning-spaces "NAME..."]
#                      [--fail "STEP..."] [--clear-devices]
#                      [--platform legacy|windows7]
#
# --tuner/--capture add one virtual device each (repeat a name for two
# devices of one name); --clear-devices first removes every device and entry
# registered by telvstandin-devices; --tuning-spaces "" leaves the system
# with no tuning space; --fail "" makes nothing fail. --platform chooses the
# system the stand-ins present, kept in the prefix until chosen again:
# "legacy" (the default) registers the ATSC network provider and offers one
# antenna tuning space named "ATSC"; "windows7" registers only the generic
# network provider and offers an ATSC cable space "ATSCCable" and an antenna
# space "ATSCAntenna", as Windows 7 and later do.
#
# Runs in the harness of the Wine tests (source tools/wine-harness.sh and
# harness_setup first; a test may also source this file and call
# standin_install) or against any prefix named by WINEPREFIX. The servers
# come from HARNESS_BUILD (default: build/windows); one that is not built
# yet is skipped with a line saying so. Exit status 0 done, 1 a step failed,
# 2 bad usage.

source "$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine-harness.sh"

standin_install() {
  local -
  set -uo pipefail
  local top
  top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  local build=${HARNESS_BUILD:-$top/build/windows}
  local ts_filters=0 clear=0 antenna="" antenna_set=0 spaces="" spaces_set=0 fail_steps="" fail_set=0
  local platform=""
  local tuners=() captures=()
  while [ "$#" -gt 0 ]; do
    case $1 in
      --ts-filters) ts_filters=1 ;;
      --clear-devices) clear=1 ;;
      --tuner) [ "$#" -ge 2 ] || { standin_usage; return 2; }; tuners+=("$2"); shift ;;
      --capture) [ "$#" -ge 2 ] || { standin_usage; return 2; }; captures+=("$2"); shift ;;
      --antenna) [ "$#" -ge 2 ] || { standin_usage; return 2; }; antenna=$2; antenna_set=1; shift ;;
      --tuning-spaces) [ "$#" -ge 2 ] || { standin_usage; return 2; }; spaces=$2; spaces_set=1; shift ;;
      --fail) [ "$#" -ge 2 ] || { standin_usage; return 2; }; fail_steps=$2; fail_set=1; shift ;;
      --platform)
        [ "$#" -ge 2 ] || { standin_usage; return 2; }
        case $2 in
          legacy) platform=Legacy ;;
          windows7) platform=Windows7 ;;
          *) standin_usage; return 2 ;;
        esac
        shift ;;
      *) standin_usage; return 2 ;;
    esac
    shift
  done
  if [ -z "${WINEPREFIX:-}" ]; then
    echo "standin-install: no WINEPREFIX: run it inside the test harness or name the prefix" >&2
    return 1
  fi

  # Read when telvstandin-bda.dll registers its network provider, so set first.
  if [ -n "$platform" ]; then
    standin_set Platform "$platform" || return 1
    echo "standin-install: platform $platform"
  fi

  local name file
  for name in telvstandin-bda.dll telvstandin-demux.dll telvstandin-decoders.dll \
    telvstandin-streambuffer.dll; do
    file=$(standin_find "$build" "$name")
    if [ -z "$file" ]; then
      echo "standin-install: $name is not built yet: skipped"
      continue
    fi
    standin_register "$file" >/dev/null || return 1
    echo "standin-install: registered $name"
  done
  if [ "$ts_filters" = 1 ]; then
    for name in telvantissource.ax telvantissink.ax; do
      file=$(standin_find "$build" "$name")
      [ -n "$file" ] || { echo "standin-install: no $name in $build" >&2; return 1; }
      standin_register "$file" >/dev/null || return 1
      echo "standin-install: registered $name"
    done
  fi

  local devices=""
  if [ "$clear" = 1 ] || [ "${#tuners[@]}" -gt 0 ] || [ "${#captures[@]}" -gt 0 ]; then
    devices=$(standin_find "$build" telvstandin-devices.exe)
    [ -n "$devices" ] || { echo "standin-install: no telvstandin-devices.exe in $build" >&2; return 1; }
  fi
  if [ "$clear" = 1 ]; then
    wine "$devices" clear || { echo "standin-install: clearing the devices failed" >&2; return 1; }
  fi
  for name in "${tuners[@]}"; do
    wine "$devices" register-tuner --virtual "$name" || { echo "standin-install: tuner \"$name\" failed" >&2; return 1; }
    echo "standin-install: virtual tuner \"$name\""
  done
  for name in "${captures[@]}"; do
    wine "$devices" register-capture --virtual "$name" || { echo "standin-install: capture \"$name\" failed" >&2; return 1; }
    echo "standin-install: virtual capture \"$name\""
  done

  if [ "$antenna_set" = 1 ]; then
    [ -f "$antenna" ] || echo "standin-install: warning: no antenna file $antenna yet" >&2
    local windows_path
    windows_path=$(harness_windows_path "$antenna")
    standin_set Antenna "$windows_path" || return 1
    echo "standin-install: antenna $windows_path"
  fi
  if [ "$spaces_set" = 1 ]; then
    standin_set TuningSpaces "$spaces" || return 1
  fi
  if [ "$fail_set" = 1 ]; then
    standin_set Fail "$fail_steps" || return 1
  fi
  return 0
}

# standin_set NAME VALUE: one string setting of the stand-ins. Once in a CI
# run, reg failed here without a word; it says what it printed and tries again
# (three times in all) before giving up.
standin_set() {
  local said status attempt
  for attempt in 1 2 3; do
    status=0
    said=$(wine reg add 'HKCU\Software\Telvantis Standin' /v "$1" /t REG_SZ /d "$2" /f 2>&1) ||
      status=$?
    [ "$status" -eq 0 ] && return 0
    echo "standin-install: cannot set $1 (attempt $attempt, status $status): $said" >&2
  done
  return 1
}

# standin_register [/u] FILE...: registers (with /u unregisters) our COM
# servers through telvregister.exe, which calls their entry points and says
# what failed. On a loaded machine Wine has been seen not to start a program
# at all (it then prints "Application could not be started..." and the tool
# prints nothing of its own): such a start is tried again, three times in
# all; a failure that the tool reports is final.
standin_register() {
  local top build tool said status attempt
  top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  build=${HARNESS_BUILD:-$top/build/windows}
  tool=$(standin_find "$build" telvregister.exe)
  [ -n "$tool" ] || { echo "standin-install: no telvregister.exe in $build" >&2; return 1; }
  local args=() word
  for word in "$@"; do
    if [ "$word" = /u ]; then args+=(/u); else args+=("$(harness_windows_path "$word")"); fi
  done
  for attempt in 1 2 3; do
    status=0
    said=$(wine "$tool" "${args[@]}" 2>&1) || status=$?
    if [ "$status" -eq 0 ]; then
      echo "$said"
      return 0
    fi
    if grep -qE '^(telvregister:|(un)?registered )' <<<"$said"; then
      echo "standin-install: $said" >&2
      return 1
    fi
    echo "standin-install: telvregister did not start (attempt $attempt, status $status): $said" >&2
  done
  return 1
}

standin_usage() {
  echo "usage: standin-install.sh [--ts-filters] [--tuner NAME]... [--capture NAME]..." >&2
  echo "         [--antenna FILE] [--tuning-spaces \"NAME...\"] [--fail \"STEP...\"] [--clear-devices]" >&2
  echo "         [--platform legacy|windows7]" >&2
}

# standin_find BUILD NAME: the path of NAME in the build tree, or nothing.
standin_find() { find "$1" -name "$2" -type f -print -quit 2>/dev/null; }

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  standin_install "$@"
fi
