# The Wine test harness: a bash library to source. It gives a test run its
# own Wine prefix, X server and virtual desktop, starts the Windows programs
# in them, runs the test driver, and removes everything it started.
#
#   source tools/wine-harness.sh
#   harness_setup || exit 1; trap harness_teardown EXIT
#   harness_start "$work" "$(harness_exe telvfixture)" "Title"
#   harness_driver wait "Title"
#
# Settings (environment, all optional):
#   HARNESS_ROOT     where run folders are made (default: <top>/.wine-run)
#   HARNESS_BUILD    the Windows build tree (default: <top>/build/windows)
#   HARNESS_DESKTOP  name of the virtual desktop (default: telvantis)
#   HARNESS_SIZE     size of the screen and the desktop (default: 1280x1024)
#   HARNESS_KEEP=1   keep the run folder (prefix, logs, work folders)
#   HARNESS_DRIVER   the test driver (default: <build>/tests/wine/telvdriver.exe)
# harness_setup exports, for the tests and every Wine process they start:
#   HARNESS_RUN (the run folder), HARNESS_DRIVER (telvdriver.exe), DISPLAY,
#   HOME (with the .asoundrc that gives Wine a silent sound device),
#   WINEPREFIX, WINEDEBUG (from HARNESS_WINEDEBUG, default -all; err+module
#   tells why a program exits without a word), WINEDLLOVERRIDES.
#
# Every program of the prefix runs inside one virtual desktop: the prefix's
# default desktop is set to it, so a plain "wine program.exe" lands there, and
# so does the driver, which then sees the programs' windows. (A program run
# with "wine explorer /desktop=NAME,WxH program.exe" lands there too, but
# that command returns at once when the desktop already runs, so the caller
# can neither wait for the program nor learn its exit status.) Inside the
# desktop, DestroyWindow does not stall as it does without a window manager.

# Test scripts may run with "set -e"; the functions that expect some of
# their commands to fail (stopping, cleaning up) turn it off for themselves
# with "local -; set +e".

harness_top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

harness_log() { echo "harness: $*" >&2; }

# harness_step WHAT...: one short line on stderr saying what the test is
# about to do, with the seconds since the script started, so that the last
# line of a failed or timed-out test says where it was. Quiet inside waits,
# which say once what they wait for.
harness_step() {
  [ -n "${HARNESS_QUIET:-}" ] && return 0
  local what="$*"
  [ "${#what}" -le 120 ] || what="${what:0:117}..."
  echo "step ${SECONDS}s: $what" >&2
}

# harness_wait_until SECONDS COMMAND...: runs COMMAND every 0.1 s until it
# succeeds; fails when SECONDS have passed first.
harness_wait_until() {
  local limit=$1
  shift
  harness_step "wait up to $limit s for: $*"
  local HARNESS_QUIET=1
  local deadline=$((SECONDS + ${limit%.*} + 1))
  until "$@"; do
    [ "$SECONDS" -ge "$deadline" ] && return 1
    sleep 0.1
  done
}

# harness_close_fds: closes every descriptor above 2 of the current shell.
# Called in the subshell that becomes a Wine process, so that no Wine process
# (nor the wineserver it may start) holds a descriptor of the runner, such as
# a trace file or the write end of a pipe that someone reads to its end.
harness_close_fds() {
  local fd
  for fd in /proc/$BASHPID/fd/*; do
    fd=${fd##*/}
    [ "$fd" -gt 2 ] 2>/dev/null && eval "exec $fd>&-" 2>/dev/null
  done
  return 0
}

# wine ARGS...: every Wine command of the harness and of the tests starts
# with only the standard descriptors open.
wine() { (harness_close_fds; exec wine "$@"); }

# winepath -w FILE: harness_windows_path, for the scripts that ask Wine's winepath
# (itself a Wine program, which a loaded machine has been seen to fail to
# start); other uses go to Wine's own.
winepath() {
  if [ "$#" -eq 2 ] && [ "$1" = -w ]; then
    harness_windows_path "$2"
  else
    (harness_close_fds; exec winepath "$@")
  fi
}

# Installs the Debian packages of the harness when one of its commands is
# missing; does nothing otherwise.
harness_require() {
  local missing=()
  local command
  for command in wine wineserver wineboot Xvfb convert gdb xdpyinfo; do
    type -P "$command" >/dev/null 2>&1 || missing+=("$command")
  done
  [ "${#missing[@]}" -eq 0 ] && return 0
  harness_log "missing ${missing[*]}: installing the Wine test packages"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null 2>&1 || { harness_log "not root and no sudo: install wine64 wine xvfb xauth x11-utils imagemagick gdb"; return 1; }
    sudo=(sudo)
  fi
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get update >&2 &&
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y \
      wine64 wine xvfb xauth x11-utils imagemagick libgl1-mesa-dri libglx-mesa0 gdb >&2
}

# Starts a private Xvfb on the first free display from a number derived from
# our process id, and exports DISPLAY once the server listens.
harness_start_xvfb() {
  local size=${HARNESS_SIZE:-1280x1024}
  local first=$((100 + BASHPID % 400))
  local n display_file="$HARNESS_RUN/xvfb.display"
  for ((n = first; n < first + 50; n++)); do
    [ -e "/tmp/.X$n-lock" ] && continue
    : >"$display_file"
    # Without MIT-SHM: Mesa's software GL, which draws the video renderer's
    # pictures, tries to attach shared memory and meets an X error; an X
    # error met while Wine's window calls hold the same display makes the
    # two wait on each other (seen for over a minute).
    Xvfb ":$n" -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset -extension MIT-SHM \
      3>"$display_file" >"$HARNESS_RUN/xvfb.log" 2>&1 &
    HARNESS_XVFB_PID=$!
    # Xvfb writes the display number once it listens, or exits at once when
    # another server took the number first.
    if harness_wait_until 20 harness_xvfb_settled && [ -s "$display_file" ]; then
      export DISPLAY=":$n" HARNESS_XVFB_PID
      return 0
    fi
    wait "$HARNESS_XVFB_PID" 2>/dev/null
    HARNESS_XVFB_PID=
  done
  harness_log "no free X display from :$first on (see $HARNESS_RUN/xvfb.log)"
  return 1
}
harness_xvfb_settled() {
  [ -s "$HARNESS_RUN/xvfb.display" ] || ! kill -0 "$HARNESS_XVFB_PID" 2>/dev/null
}

# Creates the prefix under a server that stays for the whole run (so each
# later Wine process starts fast) and makes the virtual desktop the prefix's
# default desktop.
harness_make_prefix() {
  local desktop=${HARNESS_DESKTOP:-telvantis}
  local size=${HARNESS_SIZE:-1280x1024}
  mkdir -p "$WINEPREFIX" || return 1
  if ! (harness_close_fds; exec wineserver -p); then
    harness_log "cannot start the wineserver of $WINEPREFIX"
    return 1
  fi
  if ! (harness_close_fds; exec wineboot -i) >"$HARNESS_RUN/wineboot.log" 2>&1; then
    harness_log "wineboot failed (see $HARNESS_RUN/wineboot.log)"
    return 1
  fi
  cat >"$HARNESS_RUN/desktop.reg" <<EOF
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="$desktop"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"$desktop"="$size"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops\\$desktop]
"EnableShell"=dword:00000001
EOF
  if ! wine regedit /S "$HARNESS_RUN/desktop.reg"; then
    harness_log "cannot set the virtual desktop"
    return 1
  fi
}

# harness_setup: everything a test run needs, once per run.
harness_setup() {
  harness_require || return 1
  export HARNESS_BUILD=${HARNESS_BUILD:-$harness_top/build/windows}
  export HARNESS_DRIVER=${HARNESS_DRIVER:-$HARNESS_BUILD/tests/wine/telvdriver.exe}
  if [ ! -f "$HARNESS_DRIVER" ]; then
    harness_log "no test driver at $HARNESS_DRIVER: build the Windows tree first"
    return 1
  fi
  local root=${HARNESS_ROOT:-$harness_top/.wine-run}
  mkdir -p "$root" || return 1
  HARNESS_RUN=$(mktemp -d "$root/run.XXXXXX") || return 1
  HARNESS_OWNER=$BASHPID
  export HARNESS_RUN HARNESS_OWNER

  mkdir -p "$HARNESS_RUN/home" || return 1
  printf '%s\n' 'pcm.!default { type null }' 'ctl.!default { type hw card 0 }' \
    >"$HARNESS_RUN/home/.asoundrc"
  export HOME=$HARNESS_RUN/home
  export WINEPREFIX=$HARNESS_RUN/prefix
  export WINEDEBUG=${HARNESS_WINEDEBUG:--all}
  # No Mono or Gecko installer dialogs, no menu entries, and no debugger: a
  # crashing test program ends at once instead of waiting in a crash dialog.
  export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe,winedbg.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
  unset WAYLAND_DISPLAY

  harness_start_xvfb || return 1
  harness_make_prefix || return 1
  # The first process in the desktop starts it; this also proves the driver.
  if ! harness_driver list >/dev/null; then
    harness_log "the test driver does not run"
    return 1
  fi
}

# harness_wine ARGS...: runs a Wine command synchronously (regsvr32, reg...).
harness_wine() { wine "$@"; }

# harness_driver COMMAND ARGS...: runs telvdriver.exe in the desktop; its
# standard output is the caller's, its exit status is returned.
harness_driver() {
  harness_step "drv $*"
  harness_tool "$HARNESS_DRIVER" "$@"
}

# harness_tool EXE ARGS...: runs one of the test tools that send messages to
# the programs' windows (the driver, the control readers); its standard
# output is the caller's, its exit status is returned.
harness_tool() {
  local -; set +e
  local tool=$1 said status try watcher
  shift
  HARNESS_STACKS_SHOWN=
  said=$(mktemp "${HARNESS_RUN:-/tmp}/tool.XXXXXX") || { wine "$tool" "$@"; return; }
  # The tools say why whenever they fail. Status 1 without a word is Wine
  # failing to start one on a loaded machine (seen in a full run): it did
  # nothing, so it is started again.
  for try in 1 2 3; do
    # A window slow to answer: its program's stacks are taken while the
    # tool still waits, and shown if it gives up.
    (while sleep 0.5; do
       grep -q "has not answered" "$said" 2>/dev/null && { harness_stacks >"$said.stacks"; break; }
     done) &
    watcher=$!
    wine "$tool" "$@" 2>"$said"
    status=$?
    if grep -q "has not answered" "$said"; then wait "$watcher"; else kill "$watcher" 2>/dev/null; wait "$watcher"; fi
    cat "$said" >&2
    [ "$status" -eq 1 ] && [ ! -s "$said" ] || break
    harness_log "${tool##*/} ended with status 1 without a word (try $try): starting it again"
  done
  if grep -q "did not answer" "$said" && [ -s "$said.stacks" ]; then
    harness_log "the stacks of the programs while the window did not answer:"
    sed 's/^/    /' "$said.stacks" >&2
    HARNESS_STACKS_SHOWN=1
  fi
  rm -f "$said" "$said.stacks"
  return "$status"
}

# harness_exe NAME: the path of NAME.exe (or NAME) in the Windows build tree.
harness_exe() {
  local name=$1 found
  [[ $name == *.* ]] || name=$name.exe
  found=$(find "$HARNESS_BUILD" -name "$name" -type f -print -quit 2>/dev/null)
  if [ -z "$found" ]; then
    harness_log "no $name in $HARNESS_BUILD"
    return 1
  fi
  echo "$found"
}

# harness_start DIR EXE [ARGS...]: starts a Windows program in the background
# with DIR as its working directory (the programs open their text files by
# bare name there). Its output goes to DIR/<name>.out; the process id to wait
# for or kill is in HARNESS_PID.
#
# The program is started through telvlaunch when the build has it: the Wine
# server kills a process whose threads have ended but whose Unix side is slow
# to go (a loaded machine), so the shell may see 137 whatever the program
# returned. telvlaunch waits for the program, keeps its exit code in a file
# that harness_wait_exit reads, and takes the program with it when killed.
# harness_start returns once telvlaunch says that the program runs. On a
# loaded machine Wine has been seen to end a process at its start, with
# status 1 and not a word: a launcher that ends so, before its program ran,
# did nothing, and it is started again (three times in all).
harness_start() {
  local dir=$1 exe=$2
  shift 2
  local out name try said
  name=$(basename "$exe")
  out="$dir/${name%.exe}.out"
  harness_step "start $name $*"
  if [ -z "${HARNESS_LAUNCH+set}" ]; then
    HARNESS_LAUNCH=$(HARNESS_QUIET=1 harness_exe telvlaunch 2>/dev/null) || HARNESS_LAUNCH=
  fi
  if [ -n "$HARNESS_LAUNCH" ]; then
    for try in 1 2 3; do
      said=$(harness_file_size "$out")
      # A file left by an earlier process of the same id is not this one's.
      (me=$BASHPID && rm -f "$HARNESS_RUN/exit.$me" "$HARNESS_RUN/exit.$me.started" &&
        status_file=$(harness_windows_path "$HARNESS_RUN/exit.$me") &&
        cd "$dir" && harness_close_fds && harness_limit_files &&
        exec wine "$HARNESS_LAUNCH" "$status_file" "$(harness_windows_path "$exe")" "$@" >>"$out" 2>&1) &
      HARNESS_PID=$!
      harness_launched "$HARNESS_PID" "$out" "$said" && break
      harness_log "Wine ended the launcher of $name at its start without a word (status $?, try $try)"
    done
  else
    (cd "$dir" && harness_close_fds && harness_limit_files && exec wine "$exe" "$@" >>"$out" 2>&1) &
    HARNESS_PID=$!
  fi
  HARNESS_STARTED+=" $HARNESS_PID:$name"
  export HARNESS_PID  # read by the caller
}

# harness_launched PID OUT SIZE: waits until the launcher PID says that its
# program runs, or has ended. Fails, with the launcher's status, only when it
# ended before that without adding a word to its output file OUT (SIZE bytes
# before the start): Wine did not start it. A launcher that ended after
# saying why is left for the test to wait for.
harness_launched() {
  local pid=$1 out=$2 said=$3 status=0
  HARNESS_QUIET=1 harness_wait_until 120 harness_launcher_done "$pid"
  [ -e "$HARNESS_RUN/exit.$pid.started" ] && return 0
  harness_is_gone "$pid" || return 0  # still starting after two minutes: the test's waits say more
  [ "$(harness_file_size "$out")" = "$said" ] || return 0
  wait "$pid" || status=$?
  return $((status == 0 ? 1 : status))
}

# harness_launcher_done PID: the launcher PID has started its program or ended.
harness_launcher_done() { [ -e "$HARNESS_RUN/exit.$1.started" ] || harness_is_gone "$1"; }

# harness_file_size FILE: its size in bytes, 0 when there is none.
harness_file_size() { stat -c %s "$1" 2>/dev/null || echo 0; }

# harness_limit_files: with HARNESS_FILE_LIMIT set (KiB), the files the
# program writes cannot grow past it: a write past the limit fails as on a
# full disk instead of ending the process.
harness_limit_files() {
  [ -n "${HARNESS_FILE_LIMIT:-}" ] || return 0
  trap '' XFSZ && ulimit -f "$HARNESS_FILE_LIMIT"
}

# harness_windows_path PATH: an absolute Unix path as Wine's Z: drive sees it.
harness_windows_path() { local path=${1//\//\\}; echo "Z:$path"; }

# harness_wait_exit PID [SECONDS]: waits for a program started by this shell
# to end and returns its exit code; 124 when it is still running.
harness_wait_exit() {
  local pid=$1 limit=${2:-30} status=0
  harness_wait_until "$limit" harness_is_gone "$pid" || return 124
  wait "$pid" || status=$?
  local kept=${HARNESS_RUN:-}/exit.$pid
  if [ "$status" -eq 137 ] && [ -s "$kept" ]; then
    status=$(($(tr -d '\r\n' <"$kept") & 255))
    harness_log "process $pid was killed by the Wine server after it ended; its exit code was $status"
  fi
  rm -f "$kept" "$kept.started"
  return "$status"
}

# The processes of our prefix (their environment names it), whatever
# started them; other sessions' processes never match.
harness_prefix_pids() {
  grep -lzxF "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ 2>/dev/null |
    sed -E 's|^/proc/([0-9]+)/environ$|\1|'
}

# The Windows programs of our prefix: what the tests started, and what those
# started in turn, but not Wine's own processes (C:\windows\...), the
# wineserver or the shells around them.
harness_program_pids() {
  local -; set +e
  local pid command
  for pid in $(harness_prefix_pids); do
    command=$(tr "\0" "\n" 2>/dev/null <"/proc/$pid/cmdline" | head -n 1)
    shopt -s nocasematch
    case $command in
      c:\\windows\\*) ;;
      *.exe) echo "$pid" ;;
    esac
    shopt -u nocasematch
  done
}

# Whether process PID has ended. A zombie counts as ended: Wine's processes
# are re-parented, and not every init reaps them.
harness_is_gone() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 0
  stat=${stat##*) }
  [ "${stat%% *}" = Z ]
}

# harness_stop PID: ends a program of our prefix.
harness_stop() {
  local -; set +e
  local pid=$1
  harness_is_gone "$pid" && return 0
  kill -TERM "$pid" 2>/dev/null
  harness_wait_until 5 harness_is_gone "$pid" || kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null  # reaps it when it is our child; fails otherwise
  return 0
}

# harness_stop_programs: ends every Windows program still running in our
# prefix, so that the next test starts with an empty desktop.
harness_stop_programs() {
  local -; set +e
  local pid
  [ -n "${WINEPREFIX:-}" ] || return 0
  for pid in $(harness_program_pids); do harness_stop "$pid"; done
}

# harness_symbol FILE OFFSET: the function of the Windows module FILE (our
# build: symbols but no line tables) that holds the hexadecimal OFFSET from
# its image base, as "name+0xN"; "?" when none does.
harness_symbol() {
  local file=$1 offset=$2 base at found
  base=$(x86_64-w64-mingw32-objdump -p "$file" 2>/dev/null | awk '$1 == "ImageBase" { print $2; exit }')
  at=$(printf '%016x' $((0x${base:-0} + 0x$offset)))
  # nm prints fixed-width addresses, so they compare as text.
  found=$(x86_64-w64-mingw32-nm -C --defined-only "$file" 2>/dev/null |
    awk -v at="$at" '$2 ~ /^[Tt]$/ && ($3 !~ /^\./ || $3 ~ /^\.text\$/) && $1 <= at && $1 >= best {
      best = $1; name = substr($0, index($0, $3)); sub(/^\.text\$/, "", name) }
      END { if (name != "") print best, name }')
  if [ -z "$found" ]; then echo "?"; return; fi
  # An inline function's own section is named by its mangled name.
  printf '%s+0x%x\n' "$(x86_64-w64-mingw32-c++filt "${found#* }")" $((0x$at - 0x${found%% *}))
}

# harness_stacks: prints the call stack of every thread of our prefix's own
# programs (not Wine's processes under C:\windows), through winedbg, one short
# line per frame (function, source file, module), with the frames in our
# build's modules named from its symbols. The threads that hold a WinMain
# come last, so that the end of a long log shows the user-interface thread
# whole: what a hung program was waiting in. Best effort; says so when
# winedbg cannot attach. First come the "X STALL" lines of harness_x_stalls,
# looked for before winedbg stops and resumes every thread: a stall shown in
# a failed test's stacks was no longer there when looked for after it.
harness_stacks() {
  local -; set +e
  local dump
  harness_x_stalls
  dump=$(mktemp "${HARNESS_RUN:-/tmp}/stacks.XXXXXX") || return 0
  (harness_close_fds; WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winedbg.exe=b" \
    exec timeout 60 wine winedbg --command "bt all") >"$dump" 2>&1
  local line module offset file keep=0 thread="" main_threads=""
  # "N 0xADDR name(args) [path\file.c:line] in module (frame)" and
  # "N 0xADDR in module (+0xOFFSET) (frame)".
  local named='^( *=?>?[0-9]+) 0x[0-9a-f]+ ([^ (]+)\(.*\) \[(.*[\/])?([^]\/]+)\] in ([^ ]+)'
  local unnamed='^( *=?>?[0-9]+) 0x[0-9a-f]+ in ([A-Za-z0-9_.-]+) \(\+0x([0-9a-f]+)\)'
  flush_thread() {
    if [[ $thread == *"<- WinMain"* ]]; then main_threads+=$thread; else printf '%s' "$thread"; fi
    thread=""
  }
  while IFS= read -r line; do
    line=${line%$'\r'}
    if [[ $line == "Backtracing for thread "* ]]; then
      flush_thread
      shopt -s nocasematch
      if [[ $line == *"(C:\\windows\\"* ]]; then keep=0; else keep=1; fi
      shopt -u nocasematch
    fi
    [ "$keep" -eq 1 ] || continue
    [[ $line == "Backtrace:" || -z $line ]] && continue
    if [[ $line =~ $named ]]; then
      line="${BASH_REMATCH[1]} ${BASH_REMATCH[2]} [${BASH_REMATCH[4]}] in ${BASH_REMATCH[5]}"
    elif [[ $line =~ $unnamed ]]; then
      module=${BASH_REMATCH[2]} offset=${BASH_REMATCH[3]}
      line="${BASH_REMATCH[1]} in $module +0x$offset"
      file=$(find "$HARNESS_BUILD" \( -iname "$module.exe" -o -iname "$module.dll" \) -type f -print -quit 2>/dev/null)
      [ -n "$file" ] && line="$line  <- $(harness_symbol "$file" "$offset")"
    fi
    thread+="$line"$'\n'
  done <"$dump"
  flush_thread
  printf '%s' "$main_threads"
  grep -q "Backtracing" "$dump" || { echo "winedbg gave no stacks:"; tail -n 5 "$dump"; }
  rm -f "$dump"
  [ -z "${HARNESS_NATIVE_STACKS:-}" ] || harness_native_stacks
  return 0  # a report, never a failure of its own: callers run under set -e
}

# harness_native_stacks: with HARNESS_NATIVE_STACKS set, the Unix side of
# every thread of our programs through gdb (winedbg stops at the system
# call): where Wine's own drivers and libraries wait.
harness_native_stacks() {
  local -; set +e
  local pid
  command -v gdb >/dev/null || { echo "no gdb for the native stacks"; return 0; }
  for pid in $(harness_program_pids); do
    echo "native stacks of process $pid ($(tr "\0" " " <"/proc/$pid/cmdline" 2>/dev/null | cut -c1-80)):"
    harness_native_stack "$pid"
  done
}

# harness_native_stack PID: one line per frame of every thread of process
# PID, through gdb.
harness_native_stack() {
  timeout 60 gdb -p "$1" -batch -ex "thread apply all bt 30" 2>/dev/null |
    grep -E '^(Thread |#)' | sed -E 's/ \(.*\) at / at /'
}

# harness_x_stalls: a line "X STALL: ..." when the lane's X server does not
# answer a new client, and one "X STALL: PID PROGRAM" for each of our
# programs with a thread inside Xlib's error handler. Under Wine with Mesa's
# software GL on one X display, an X error met by the renderer's GL thread
# while Wine's window code holds the display (in an XSync under ShowWindow)
# stalls both threads: a fault of that stack, not of the program, and one
# that real Windows does not have. The native stack of such a stall: a GL
# thread in XGetGeometry -> _XReply -> _XError, waiting for the display's
# lock, while the window thread waits in XSync's _XReply. Another form
# seems to stop the X server itself (a GL thread presenting, the window
# thread in a window call, and no Wine program of the lane able to list the
# windows) until the stalled programs are ended.
harness_x_stalls() {
  local -; set +e
  local pid
  if command -v xdpyinfo >/dev/null && ! timeout 15 xdpyinfo >/dev/null 2>&1; then
    echo "X STALL: the X server of display $DISPLAY does not answer"
  fi
  command -v gdb >/dev/null || return 0
  for pid in $(harness_program_pids); do
    harness_native_stack "$pid" | grep -q ' in _XError ' &&
      echo "X STALL: $pid $(tr "\0" "\n" <"/proc/$pid/cmdline" 2>/dev/null | head -n 1)"
  done
  return 0
}

# harness_screenshot FILE.png [TITLE]: the desktop, or the window TITLE, as a
# PNG file.
harness_screenshot() {
  local -; set +e
  local png=$1
  shift
  local bmp
  bmp=$(mktemp "$HARNESS_RUN/shot.XXXXXX.bmp") || return 1
  # Z: is the prefix's drive for the Unix root. The driver has been seen to
  # end without a word (a crash inside Wine's screen copy while a video
  # renderer draws); a second and a third try then succeed.
  local try status
  for try in 1 2 3; do
    harness_driver screenshot "Z:$bmp" "$@"
    status=$?
    [ "$status" -eq 0 ] && break
    harness_log "screenshot try $try ended with status $status"
  done
  if [ "$status" -ne 0 ]; then
    rm -f "$bmp"
    return 1
  fi
  mkdir -p "$(dirname "$png")" && convert "$bmp" "$png"
  local status=$?
  rm -f "$bmp"
  return $status
}

# harness_teardown: ends what harness_setup started and removes the run
# folder (unless HARNESS_KEEP=1). Only the shell that set up acts; other
# sessions' servers and processes are never touched.
harness_teardown() {
  local -; set +e
  [ -n "${HARNESS_RUN:-}" ] && [ "${HARNESS_OWNER:-}" = "$BASHPID" ] || return 0
  harness_stop_programs
  if [ -d "${WINEPREFIX:-}" ]; then
    wineserver -k 2>/dev/null  # fails when no server runs: nothing to end
    timeout 10 wineserver -w 2>/dev/null
  fi
  if [ -n "${HARNESS_XVFB_PID:-}" ]; then
    kill "$HARNESS_XVFB_PID" 2>/dev/null
    wait "$HARNESS_XVFB_PID" 2>/dev/null
  fi
  if [ "${HARNESS_KEEP:-0}" = 1 ]; then
    harness_log "kept $HARNESS_RUN"
  else
    rm -rf "$HARNESS_RUN"
  fi
  HARNESS_RUN='' HARNESS_OWNER='' HARNESS_XVFB_PID=
}
