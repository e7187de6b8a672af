#!/usr/bin/env bash
# The installer built by tools/build.sh, run silently: the programs, filters
# and plug-ins land in the chosen folder (never a stand-in), the filters are
# registered from there, can be created and are listed among the DirectShow
# filters, the Start-menu shortcuts and the uninstall entry exist, and the
# viewer started there runs its first-run setup. While the viewer runs,
# installing and uninstalling are refused. The silent uninstaller removes
# programs, registrations and shortcuts and keeps the user's files and
# recordings; an older version upgraded in place keeps schedule.txt and the
# filters working.
#
# The prefix may serve other tests: the test removes what it installed and
# registers again the filter servers that were registered before it.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/viewer_lib.sh"

version=$(tr -d '\r\n' <"$harness_top/VERSION")
command -v makensis >/dev/null || fail "no makensis (apt-get install nsis) to build the installers"
# The installer the build made; a build of chosen targets leaves it out,
# and the test then makes it from the same programs.
setup="$HARNESS_BUILD/TelvantisSetup-$version.exe"
if [ ! -f "$setup" ]; then
  setup="$TEST_WORK/TelvantisSetup-$version.exe"
  bash "$harness_top/dist/installer/make-installer.sh" "$HARNESS_BUILD" "$version" "$setup" \
    >make.out 2>&1 || fail "cannot build the installer: $(cat make.out)"
fi
tsgraph_exe=$(harness_exe tsgraph) || fail "no tsgraph.exe"

source_clsid='{B489920A-10FF-42EF-99D2-AD8052A56C5A}'
sink_clsid='{E212A41C-033F-4541-93B5-3A78B0392446}'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Telvantis'
programs=(Telvantis.exe TelvantisSched.exe TelvantisSchedTS.exe TelvantisSR.exe TelvantisSRTS.exe
  TelvantisPlay.exe TelvantisPlayTS.exe TelvantisInfo.exe telvantissource.ax telvantissink.ax
  TelvantisPlugIn.dll TelvantisPlayPlugin.dll)
shortcuts=(Telvantis "Telvantis Scheduler" "Telvantis Scheduler TS" "Telvantis Player"
  "Telvantis Player TS" "Telvantis Silent Recorder" "Telvantis Silent Recorder TS"
  "Telvantis System Check" "Uninstall Telvantis")

# The chosen folder. (Wine quotes an argument with a blank, and the
# installer takes /D= only unquoted, as Windows users type it.)
folder="$TEST_WORK/programs/Telvantis"
folder_win=$(winepath -w "$folder" | tr -d '\r')
uninstaller="$folder/Uninstall Telvantis.exe"
menu="$(winepath -u 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs' | tr -d '\r')/Telvantis"

# reg_query KEY /v NAME | /ve: the value as reg prints it, or nothing for a
# missing key or value. Wine's reg has been seen to fail once without a word
# for a value that is there: a failure is tried twice more.
reg_query() {
  local try out
  for try in 1 2 3; do
    out=$(wine reg query "$@" 2>/dev/null) && { tr -d '\r' <<<"$out"; return 0; }
  done
  return 0
}
reg_value() { reg_query "$1" /v "$2" | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
server_of() { reg_query "HKCR\\CLSID\\$1\\InprocServer32" /ve | sed -n 's/^ *(Default) *REG_SZ *//p'; }
tsgraph() { wine "$tsgraph_exe" "$@" | tr -d '\r'; }

# --- Leaving the prefix as it was -------------------------------------------
# Servers of our filters registered before the test (by another test, from
# the build tree) are unregistered, so that the installer starts from a
# prefix without our filters, and registered again at the end.
servers_before=()
for clsid in "$source_clsid" "$sink_clsid"; do
  server=$(server_of "$clsid")
  [ -z "$server" ] || servers_before+=("$server")
done
for server in "${servers_before[@]}"; do
  wine regsvr32 /s /u "$server" || fail "cannot unregister $server"
done
for clsid in "$source_clsid" "$sink_clsid"; do
  [ -z "$(server_of "$clsid")" ] || fail "$clsid stays registered"
done
[ -z "$(reg_value "$uninstall_key" DisplayName)" ] ||
  fail "Telvantis is already installed in this prefix (in $(reg_value "$uninstall_key" InstallLocation))"

restore_prefix() {
  local -; set +e
  harness_stop_programs
  if [ -f "$uninstaller" ]; then
    wine "$uninstaller" /S "_?=$folder_win" >/dev/null 2>&1
  fi
  rm -rf "$TEST_WORK/programs"
  local root name
  for root in HKLM HKCU; do
    for name in Timeshift Record; do
      [[ $(reg_value "$root\\$model_key\\$name" "$name") == "$folder_win"* ]] &&
        wine reg delete "$root\\$model_key\\$name" /v "$name" /f >/dev/null 2>&1
    done
  done
  local server
  for server in "${servers_before[@]}"; do wine regsvr32 /s "$server" >/dev/null 2>&1; done
  wine "$devices_exe" clear >/dev/null 2>&1
}
trap restore_prefix EXIT

# The older installer for the upgrade is built while the first checks run.
old_setup="$TEST_WORK/TelvantisSetup-0.9.0.exe"
bash "$harness_top/dist/installer/make-installer.sh" "$HARNESS_BUILD" 0.9.0 "$old_setup" \
  >make-old.out 2>&1 &
make_old=$!

# --- The checks of an installed suite ---------------------------------------

# assert_filters_work: both classes are served by the installed files, are
# listed in the DirectShow filter category, and a graph push source -> dump
# filter made of them copies a stream.
assert_filters_work() {
  assert_eq "$folder_win\\telvantissource.ax" "$(server_of "$source_clsid")" "server of TelvantisTSSource"
  assert_eq "$folder_win\\telvantissink.ax" "$(server_of "$sink_clsid")" "server of TelvantisTSSink"
  local names out
  names=$(tsgraph names)
  grep -qxF "filter=TelvantisTSSource" <<<"$names" || fail "TelvantisTSSource is not listed"
  grep -qxF "filter=TelvantisTSSink" <<<"$names" || fail "TelvantisTSSink is not listed"
  tsgraph gen src.ts 1000000 >/dev/null
  out=$(tsgraph copy src.ts out.ts --timeout 60) || fail "a graph of the installed filters: $out"
  cmp -n 1000000 src.ts out.ts || fail "the installed filters did not copy the stream"
  rm -f src.ts out.ts
}

# assert_installed VERSION: the files, the filters, the shortcuts and the
# uninstall entry of that version.
assert_installed() {
  local file name
  for file in "${programs[@]}" regtsfilters.bat unregtsfilters.bat regdvrmsfilters.bat; do
    [ -f "$folder/$file" ] || fail "$file is not installed"
  done
  [ -f "$uninstaller" ] || fail "no uninstaller"
  if ls "$folder" | grep -qi standin; then fail "a stand-in was installed: $(ls "$folder")"; fi
  assert_filters_work
  for name in "${shortcuts[@]}"; do
    [ -f "$menu/$name.lnk" ] || fail "no shortcut \"$name\""
  done
  # A silent recorder's shortcut carries the lock switch, without which it
  # does not run; every shortcut starts in the program's folder.
  strings -el "$menu/Telvantis Silent Recorder.lnk" | grep -qF "/LOCKTELVANTISSR" ||
    fail "the silent recorder's shortcut has no lock switch"
  strings -el "$menu/Telvantis.lnk" | dir=$folder_win awk '
    substr($0, length($0) - length(ENVIRON["dir"]) + 1) == ENVIRON["dir"] { found = 1 }
    END { exit !found }' ||
    fail "the viewer's shortcut does not start in $folder_win"
  assert_eq Telvantis "$(reg_value "$uninstall_key" DisplayName)" "DisplayName"
  assert_eq "$1" "$(reg_value "$uninstall_key" DisplayVersion)" "DisplayVersion"
  assert_eq "The Telvantis developers" "$(reg_value "$uninstall_key" Publisher)" "Publisher"
  assert_eq "\"$folder_win\\Uninstall Telvantis.exe\"" "$(reg_value "$uninstall_key" UninstallString)" "UninstallString"
  assert_eq "$folder_win" "$(reg_value "$uninstall_key" InstallLocation)" "InstallLocation"
  local size
  size=$(reg_value "$uninstall_key" EstimatedSize)
  [ $((size)) -gt 1000 ] || fail "EstimatedSize is $size KB"
}

# uninstall: the uninstaller run silently as Windows runs it (it hands over to
# a copy of itself and returns), until it has removed itself.
uninstall() {
  assert_status 0 wine "$uninstaller" /S
  harness_wait_until 60 test ! -e "$uninstaller" || fail "the uninstaller did not finish"
  harness_wait_until 30 test ! -e "$menu" || fail "the shortcuts are still there: $(ls "$menu")"
}

# --- A fresh installation into the chosen folder ----------------------------
assert_status 0 wine "$setup" /S "/D=$folder_win"
assert_installed "$version"

# The viewer started from the installed folder, on the stand-in platform,
# finds no channel list there and opens its setup.
bash "$harness_top/tools/make-antenna.sh" "$TEST_WORK/antenna" 4 >/dev/null || fail "make-antenna.sh failed"
install_platform "$TEST_WORK/antenna/antenna.txt"
virtual_tuner "$tuner" "$capture"
harness_start "$folder" "$folder/Telvantis.exe"
VIEWER_PID=$HARNESS_PID
drv wait-shown "Telvantis Setup" 60 >/dev/null
assert_image_not_blank "$(take_screenshot first-run)"

drv click "Telvantis Setup" 1
drv wait-gone "Telvantis Setup" 20
drv wait "$panel" 20 >/dev/null

# While it runs, the installer refuses, with its message or silently, and
# so does the uninstaller; nothing is changed. The message names the first
# of the viewer's windows that it finds.
refusal="^CAN'T INSTALL WHILE A TELVANTIS PROGRAM IS RUNNING \\(\"Telvantis( Video)?- Hauppauge WinTV 885\"\\)\\.

CLOSE EVERY TELVANTIS PROGRAM, THEN TRY AGAIN\\.$"
harness_start "$TEST_WORK" "$setup"
refused=$HARNESS_PID
close_box "Telvantis $version Setup"
[[ $(tr -d '\r' <<<"$BOX_TEXT") =~ $refusal ]] || fail "the refusal reads: $BOX_TEXT"
assert_eq exclamation "$BOX_ICON" "icon of the refusal"
assert_status 4 harness_wait_exit "$refused" 30
assert_status 4 wine "$setup" /S "/D=$folder_win"
assert_status 4 wine "$uninstaller" /S "_?=$folder_win"
[ -f "$folder/Telvantis.exe" ] || fail "the refused uninstaller removed the viewer"
assert_eq "$version" "$(reg_value "$uninstall_key" DisplayVersion)" "version after the refusals"

drv click "$panel" 1
expect_exit
[ -f "$folder/config.txt" ] || fail "the viewer wrote no config.txt in its folder"

# --- Uninstalling keeps the user's files ------------------------------------
printf '1\nWTST 7 10 1\n' >"$folder/channels.txt"
recording="$folder/WTST10-1 20260101 2000.ts"
head -c 188000 /dev/zero >"$recording"
uninstall
for file in "${programs[@]}"; do
  [ ! -e "$folder/$file" ] || fail "$file was not removed"
done
for clsid in "$source_clsid" "$sink_clsid"; do
  [ -z "$(server_of "$clsid")" ] || fail "$clsid is still registered"
done
if tsgraph names | grep -qE "^filter=TelvantisTS(Source|Sink)$"; then fail "a filter is still listed"; fi
[ -z "$(reg_value "$uninstall_key" DisplayName)" ] || fail "the uninstall entry is still there"
assert_file_content "$folder/channels.txt" $'1\nWTST 7 10 1'
[ "$(stat -c %s "$recording")" -eq 188000 ] || fail "the recording was not kept"
[ -f "$folder/config.txt" ] || fail "config.txt was not kept"

# --- An upgrade in place keeps schedule.txt ---------------------------------
wait "$make_old" || fail "the older installer was not built: $(cat make-old.out)"
assert_status 0 wine "$old_setup" /S "/D=$folder_win"
assert_eq 0.9.0 "$(reg_value "$uninstall_key" DisplayVersion)" "version of the older installer"
schedule='1\n2 1 7 2008 7 7 1 20 0 21 30 0 2 0\nD:\\Recordings\n'
# shellcheck disable=SC2059
printf "$schedule" >"$folder/schedule.txt"
# No folder given: the upgrade goes where the older version is.
assert_status 0 wine "$setup" /S
assert_installed "$version"
assert_bytes "$folder/schedule.txt" "$schedule"
assert_file_content "$folder/channels.txt" $'1\nWTST 7 10 1'

uninstall
assert_bytes "$folder/schedule.txt" "$schedule"
echo "installer: all checks passed"
