#!/usr/bin/env bash
# The layer check: reads every #include of the C and C++ sources and prints
# one line for each include that breaks the layers, then a summary line.
# Exit status 0 when none does, 1 otherwise.
#
# The layers, from the bottom up: core, win, dshow, graph, then the programs
# and filters (viewer, scheduler, recorder, player, info, remote, tssource,
# tssink). A file includes only its own layer and those below:
#  - core includes the C and C++ standard library and core/ only, never a
#    Windows, COM or DirectShow header; its tests may also include GoogleTest
#    and <unistd.h>;
#  - win does not include dshow/, graph/ or a program folder, dshow does not
#    include graph/ or a program folder, graph does not include a program
#    folder (nor standin/, tools/, tests/ or bench/, which sit beside them);
#  - test support (core/testing/, scheduler/testing/...) is included by tests
#    only: *_test.cpp files, other test support, and tests/;
#  - in the layered folders a quoted include names its folder from the top
#    of the tree ("core/ts/TsPacket.h", not "TsPacket.h" or "../TsPacket.h").
#
#   tools/check-layers.sh [TOP]     TOP defaults to the top of this tree
set -euo pipefail
top=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$top"

layered="core win dshow graph viewer scheduler recorder player info remote tssource tssink"
folders="$layered standin tools tests bench"

# The headers of the C++20 standard library and of the C standard library.
standard_headers="
algorithm any array atomic barrier bit bitset cassert ccomplex cctype cerrno
cfenv cfloat charconv chrono cinttypes ciso646 climits clocale cmath codecvt
compare complex concepts condition_variable coroutine csetjmp csignal
cstdalign cstdarg cstdbool cstddef cstdint cstdio cstdlib cstring ctgmath
ctime cuchar cwchar cwctype deque exception execution filesystem format
forward_list fstream functional future initializer_list iomanip ios iosfwd
iostream istream iterator latch limits list locale map memory
memory_resource mutex new numbers numeric optional ostream queue random
ranges ratio regex scoped_allocator semaphore set shared_mutex
source_location span sstream stack stdexcept stop_token streambuf string
string_view strstream syncstream system_error thread tuple type_traits
typeindex typeinfo unordered_map unordered_set utility valarray variant
vector version
assert.h complex.h ctype.h errno.h fenv.h float.h inttypes.h iso646.h
limits.h locale.h math.h setjmp.h signal.h stdalign.h stdarg.h stdatomic.h
stdbool.h stddef.h stdint.h stdio.h stdlib.h stdnoreturn.h string.h
tgmath.h threads.h time.h uchar.h wchar.h wctype.h"

sources=()
for folder in $folders; do
  [ -d "$folder" ] || continue
  while IFS= read -r -d '' file; do sources+=("$file"); done < <(
    find "$folder" -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.c' \) -print0)
done
if [ "${#sources[@]}" -eq 0 ]; then
  echo "layer check: no sources under $top"
  exit 1
fi
mapfile -t sources < <(printf '%s\n' "${sources[@]}" | LC_ALL=C sort)

awk -v layered="$layered" -v standard="$standard_headers" -v files="${#sources[@]}" '
BEGIN {
  n = split(standard, names, /[ \n]+/)
  for (i = 1; i <= n; i++) if (names[i] != "") isStandard[names[i]] = 1
  n = split(layered, names, " ")
  for (i = 1; i <= n; i++) isLayered[names[i]] = 1
  rank["core"] = 1; rank["win"] = 2; rank["dshow"] = 3; rank["graph"] = 4
  for (name in isLayered) if (!(name in rank)) rank[name] = 5
  # Beside the layers: nothing in core, win, dshow or graph uses them.
  rank["standin"] = 6; rank["tools"] = 6; rank["tests"] = 6; rank["bench"] = 6
  bad = 0
}
function report(what) {
  printf "layer check: %s:%d: #include %s: %s\n", FILENAME, FNR, shown, what
  bad++
}
# Windows, COM, DirectShow and compiler-specific headers, for the wording of
# the message only: every angle-bracket include outside the standard library
# is refused in core.
function windowsHeader(name) {
  name = tolower(name)
  return name ~ /^(win|ole|objbase|objidl|unknwn|combaseapi|comdef|comip|rpc|shl|shell|commctrl|commdlg|mmsystem|mmreg|mmdeviceapi|mstask|dshow|strmif|control\.h|uuids|evcode|amvideo|dvdmedia|bda|ks|tuner|mpeg2|sbe|vmr|d3d|ddraw|dxva|dsound|initguid|atl|afx|mfc|tchar|strsafe|io\.h|process\.h|direct\.h|conio\.h|malloc\.h|guiddef|propidl|oaidl|ocidl|servprov|dbt|setupapi|devguid|intrin)/
}
/^[ \t]*#[ \t]*include[ \t]*[<"]/ {
  line = $0
  sub(/^[ \t]*#[ \t]*include[ \t]*/, "", line)
  angle = substr(line, 1, 1) == "<"
  closer = angle ? ">" : "\""
  rest = substr(line, 2)
  stop = index(rest, closer)
  if (stop == 0) next
  name = substr(rest, 1, stop - 1)
  shown = angle ? "<" name ">" : "\"" name "\""

  split(FILENAME, path, "/")
  folder = path[1]
  isTest = FILENAME ~ /_test\.(cpp|c)$/ || FILENAME ~ /(^|\/)testing\// || folder == "tests"
  target = index(name, "/") ? substr(name, 1, index(name, "/") - 1) : ""

  if (folder == "core") {
    if (angle) {
      if (name in isStandard) next
      if (isTest && (name ~ /^(gtest|gmock)\// || name == "unistd.h")) next
      report(windowsHeader(name) ? "core/ includes a Windows header" \
                                 : "core/ includes a header outside the C and C++ standard library")
      next
    }
  }
  if (angle) next

  if ((folder in isLayered) && (target == "" || name ~ /(^|\/)\.\.?\//)) {
    report("the include does not name its folder from the top of the tree")
    next
  }
  if (folder == "core" && target != "core") { report("core/ includes a file outside core/"); next }
  if (!isTest && name ~ /(^|\/)testing\//)
    report("a file that is not a test includes test support")
  if (folder in isLayered) {
    if (rank[folder] <= 4 && (target in rank) && rank[target] > rank[folder])
      report(folder "/ includes " target "/, a layer above it")
  }
}
END {
  if (bad == 0) printf "layer check: %d files, every include keeps to its layer\n", files
  else printf "layer check: %d include%s break%s the layers\n", bad, bad == 1 ? "" : "s", bad == 1 ? "s" : ""
  exit bad == 0 ? 0 : 1
}' "${sources[@]}"
