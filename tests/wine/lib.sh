# Helpers for the Wine end-to-end test scripts, which source this file. Under
# run.sh the harness is already set up and the current directory is the
# test's own fresh working folder; a script run alone sets up a harness of its
# own. Every helper that checks something ends the test with a message on
# failure, so scripts read as a list of steps. The file helpers take CRLF and
# LF line ends alike: the programs write Windows text files.

source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/tools/wine-harness.sh"

TEST_NAME=${TEST_NAME:-$(basename "$0" .sh)}
TEST_NAME=${TEST_NAME#test_}
if [ -z "${HARNESS_RUN:-}" ]; then
  harness_setup || exit 1
  trap harness_teardown EXIT
  mkdir -p "$HARNESS_RUN/tests/$TEST_NAME" && cd "$HARNESS_RUN/tests/$TEST_NAME" || exit 1
fi
TEST_WORK=$PWD
SCREENSHOTS=${HARNESS_SCREENSHOTS:-$harness_top/build/screenshots}

# A failure of the test itself shows what the programs were doing then
# (once: a wait that ran out has shown it already), so a stall names the
# thread it stands in. A check inside $(...) or a wait's condition ends only
# its subshell and shows nothing: the test's own failure follows if it
# matters.
fail() {
  if [ "$BASHPID" = "$$" ] && [ -z "${HARNESS_STACKS_SHOWN:-}" ] && [ -z "${failure_stacks_shown:-}" ]; then
    echo "the stacks of the programs at the failure:" >&2
    { harness_stacks | sed 's/^/    /' >&2; } || true
  fi
  [ "$BASHPID" = "$$" ] && show_programs_output
  echo "FAIL: $*" >&2
  exit 1
}

# Which programs still run and their windows, and the last lines of every
# program's output file: a program that ended before its window appeared
# (a crash, a failed launch) has said why only there. X and sound warnings
# left out.
show_programs_output() {
  local -; set +e
  local windows out running
  running=$(for pid in $(harness_program_pids); do tr '\0' ' ' <"/proc/$pid/cmdline"; echo; done 2>/dev/null)
  echo "programs running at the failure: ${running:-none}" >&2
  show_ended_programs >&2
  if [ -n "$running" ]; then
    echo "their top-level windows:"
    # The list always holds the desktop's own windows: none at all means
    # that no Wine program of the lane could reach its X server.
    windows=$(harness_driver list)
    if [ -n "$windows" ]; then
      sed 's/^/    /' <<<"$windows"
    else
      echo "X STALL: no program of the lane can list its windows (display $DISPLAY)"
    fi
  fi >&2
  while IFS= read -r out; do
    echo "the last lines of ${out#"$TEST_WORK"/}:" >&2
    grep -v -e 'MIT-SHM' -e '^ALSA lib' "$out" | tail -n 6 | sed 's/^/    /' >&2
  done < <(find "$TEST_WORK" -name '*.out' ! -path "$TEST_WORK/test.out" 2>/dev/null)
}

# How each program this test started and that has ended ended: its status
# as the shell saw it (128 + N: ended by signal N) and the exit code that the
# launcher wrote, if it wrote one, or else whether the launcher had started
# it. A program that is gone without a word in its output file was ended from
# outside (status 137: killed) or ended itself (the launcher's code).
show_ended_programs() {
  local -; set +e
  local started pid name status code how
  for started in ${HARNESS_STARTED:-}; do
    pid=${started%%:*} name=${started#*:}
    harness_is_gone "$pid" || continue
    status=0
    wait "$pid" 2>/dev/null || status=$?
    [ "$status" -eq 127 ] && continue  # reaped before: its test step saw it end
    code=$(tr -d '\r\n' 2>/dev/null <"$HARNESS_RUN/exit.$pid")
    how=""
    if [ -n "$code" ]; then
      how=", exit code $code from the launcher"
    elif [ -e "$HARNESS_RUN/exit.$pid.started" ]; then
      how=", after its launcher had started it (no exit code)"
    fi
    echo "$name (process $pid) ended with status $status$how"
  done
}

# drv COMMAND ARGS...: the test driver; a failure ends the test. (Inside
# $(...) it ends only the substitution: use "set -e" in the test script.)
# A wait that ran out shows what the programs were doing at its end.
# Every wait whose failure fails the test is given at least a minute: under
# Wine on a loaded machine a program has been seen to take over 20 s to show
# a window while its video is drawn (its thread inside ShowWindow), and a
# longer limit costs nothing when the test passes.
drv() {
  local status=0 last=${!#}
  if [[ $1 == wait* ]] && [[ $last =~ ^[0-9]+([.][0-9]+)?$ ]] && ((${last%.*} < 60)); then
    set -- "${@:1:$#-1}" 60
  fi
  harness_driver "$@" || status=$?
  [ "$status" -eq 0 ] && return 0
  if [[ $1 == wait* ]] && [ -z "${HARNESS_STACKS_SHOWN:-}" ]; then
    echo "the stacks of the programs when the wait ran out:" >&2
    { harness_stacks | sed 's/^/    /' >&2; } || true
    failure_stacks_shown=1
  fi
  fail "telvdriver $* (status $status)"
}

# start_program NAME [ARGS...]: starts NAME.exe from the Windows build tree
# in the test's working folder; its process id is in HARNESS_PID.
start_program() {
  local exe
  exe=$(harness_exe "$1") || fail "no program $1"
  shift
  harness_start "$TEST_WORK" "$exe" "$@"
}

# assert_eq EXPECTED ACTUAL [WHAT]
assert_eq() {
  [ "$1" = "$2" ] || fail "${3:-value}: expected \"$1\", got \"$2\""
}

# assert_status EXPECTED COMMAND...: runs COMMAND and checks its exit status.
assert_status() {
  local expected=$1 status=0
  shift
  "$@" || status=$?
  [ "$status" -eq "$expected" ] || fail "$*: exit status $status, expected $expected"
}

# assert_file_content FILE EXPECTED: the whole file, trailing newline aside.
assert_file_content() {
  [ -f "$1" ] || fail "no file $1"
  local content
  content=$(tr -d '\r' <"$1")
  [ "$content" = "$2" ] || fail "$1 holds:
$content
expected:
$2"
}

# has_line FILE LINE: whether FILE exists and holds LINE.
has_line() {
  [ -f "$1" ] && tr -d '\r' <"$1" | grep -qxF -- "$2"
}

# assert_file_has_line FILE LINE
assert_file_has_line() {
  has_line "$1" "$2" || fail "$1 has no line \"$2\""
}

# output_is EXPECTED COMMAND...: whether COMMAND prints EXPECTED. Waits take
# it as their command, so that each try runs COMMAND again:
#   harness_wait_until 20 output_is OFF state
output_is() {
  local expected=$1
  shift
  [ "$("$@")" = "$expected" ]
}

# wait_for_file FILE [SECONDS]
wait_for_file() {
  harness_wait_until "${2:-30}" test -e "$1" || fail "no file $1 after ${2:-30} s"
}

# wait_for_line FILE LINE [SECONDS]
wait_for_line() {
  harness_wait_until "${3:-30}" has_line "$1" "$2" ||
    fail "no line \"$2\" in $1 after ${3:-30} s"
}

# take_screenshot NAME [TITLE]: the desktop, or the window TITLE, saved as
# <screenshots>/<test>-NAME.png; prints the file's path.
take_screenshot() {
  local png="$SCREENSHOTS/$TEST_NAME-$1.png"
  shift
  harness_screenshot "$png" "$@" || fail "no screenshot $png"
  echo "$png"
}

# assert_image_not_blank FILE: the picture has more than one colour.
assert_image_not_blank() {
  local colours
  colours=$(identify -format '%k' "$1" 2>/dev/null) || fail "$1 is not a picture"
  [ "$colours" -gt 1 ] || fail "$1 is blank"
}

# menu_item_states PNG LEFT TOP RIGHT BOTTOM: the states of a popup menu's
# items as a screenshot shows them, one "enabled" or "grayed" per item from
# the top, for menus whose items another process cannot read under Wine. An
# item is a band of text rows inside the menu's frame: black text is enabled,
# text no darker than the theme's grey is grayed; separators are thinner
# than any text and are passed over.
menu_item_states() {
  local png=$1 left=$2 top=$3 right=$4 bottom=$5 inset=3
  convert "$png" -crop "$((right - left - 2 * inset))x$((bottom - top - 2 * inset))+$((left + inset))+$((top + inset))" \
      +repage -colorspace gray -depth 8 txt:- |
    awk -F'[,:() ]+' 'NR > 1 { if (!($2 in low) || $3 + 0 < low[$2]) low[$2] = $3 + 0; if ($2 + 0 > last) last = $2 + 0 }
      END {
        start = -1
        for (y = 0; y <= last + 1; y++) {
          ink = (y in low) && low[y] < 200
          if (ink && start < 0) { start = y; darkest = low[y] }
          else if (ink) { if (low[y] < darkest) darkest = low[y] }
          else if (start >= 0) { if (y - start >= 5) print (darkest < 100 ? "enabled" : "grayed"); start = -1 }
        }
      }'
}

# close_box CAPTION [SECONDS]: closes the next message box with this caption
# (default wait 60 s); its icon (none, information, exclamation, stop,
# question or other) is then in BOX_ICON and its text in BOX_TEXT.
close_box() {
  local out
  if ! out=$(harness_driver close-msgbox --title "$1" --icon --timeout "${2:-60}"); then
    echo "the stacks of the programs when no box came:" >&2
    { harness_stacks | sed 's/^/    /' >&2; } || true
    failure_stacks_shown=1
    fail "no message box with the caption \"$1\""
  fi
  BOX_ICON=${out%%$'\n'*}
  BOX_TEXT=
  [[ $out != *$'\n'* ]] || BOX_TEXT=${out#*$'\n'}
}

# expect_box STYLE TEXT: closes the next message box, which shows TEXT in
# STYLE, one of the three styles of the programs' messages:
#   exclamation  no caption, the exclamation icon
#   error        the caption "Error", no icon
#   plain        no caption, no icon
expect_box() {
  local style=$1 expected=$2 caption icon
  case $style in
    exclamation) caption="" icon=exclamation ;;
    error) caption=Error icon=none ;;
    plain) caption="" icon=none ;;
    *) fail "expect_box: unknown style \"$style\"" ;;
  esac
  close_box "$caption"
  assert_eq "$expected" "$BOX_TEXT" "$style box"
  assert_eq "$icon" "$BOX_ICON" "icon of the box \"$expected\""
}

# expect_boxes STYLE TEXT...: the boxes that appear, in this order, all in
# STYLE.
expect_boxes() {
  local style=$1 text
  shift
  for text in "$@"; do expect_box "$style" "$text"; done
}
