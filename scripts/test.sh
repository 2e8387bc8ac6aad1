#!/usr/bin/env bash
# The whole test suite: installs what is missing, checks the formatting of the
# C++ sources and that their includes point down the layers of src/, makes the
# Windows build and the two host sanitizer builds side by side, runs the
# Windows tests under wine and the host tests, prints the size of the tests
# against the code, and ends with one line "N passed, M failed" over all of
# them (a failed build, formatting or layer check counts as one failure).
# Before that line it prints how long each phase took: wall-clock seconds and
# the CPU seconds (user + system) of the processes it ran.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
jobs=$(nproc)
# The Windows tests mostly wait on wine and on each other's programs: twice
# as many at once as there are CPUs, the ones that show windows each on a
# seat of their own (scripts/wine-ctest.sh).
wine_jobs=$((jobs * 2))
export KS_WINE_SEATS="${KS_WINE_SEATS:-3}"

passed=0
failed=0
mkdir -p build
phases=build/phases.log
: >"$phases"
started=$EPOCHREALTIME

# cpu_seconds FILE: the children's user + system seconds in the output of
# times (its second line, "XmY.YYYs XmY.YYYs").
cpu_seconds() {
  tail -n 1 "$1" | awk '{
    split($1, u, /[ms]/); split($2, s, /[ms]/)
    printf "%.1f", u[1] * 60 + u[2] + s[1] * 60 + s[2] }'
}

# timed NAME COMMAND...: runs the command, noting its wall-clock and CPU
# seconds as a line of $phases. It runs in a subshell of its own: the shell
# that runs it also reaps the background jobs that end meanwhile, and their
# time would be counted with the command's.
timed() {
  local name="$1"
  shift
  (
    start=$EPOCHREALTIME
    "$@"
    rc=$?
    own="$phases.$BASHPID"
    times >"$own"
    wall=$(awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f", b - a }')
    echo "$name|$wall|$(cpu_seconds "$own")" >>"$phases"
    rm -f "$own"
    exit $rc
  )
}

# phase_report: one line per phase, in the order they ended, then the total.
phase_report() {
  local wall
  wall=$(awk -v a="$started" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f", b - a }')
  # (times runs in this shell: in a pipeline it would count a subshell's.)
  times >"$phases.total"
  echo "== Phase times (wall-clock, CPU user+system; wine's servers not counted)"
  echo "total|$wall|$(cpu_seconds "$phases.total")" | cat "$phases" - |
    awk -F'|' '{ printf "  %-24s %7.1f s %8.1f s CPU\n", $1, $2, $3 }'
}

timed "packages" scripts/install-deps.sh || { echo "0 passed, 1 failed"; exit 1; }
# Without nsis the installer test (PackageRoundTrip) is skipped, and says so.
scripts/install-deps.sh --packaging || echo "warning: nsis, zip or unzip could not be installed"

# count LOG: adds the totals of one ctest summary to passed/failed.
count() {
  local line total bad
  if grep -q "No tests were found" "$1"; then
    return
  fi
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n 1)
  if [ -z "$line" ]; then
    failed=$((failed + 1))
    return
  fi
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
}

# build NAME CMAKE-ARGS...: configures and builds build/NAME, logging into
# build/NAME.configure.log and build/NAME.build.log.
build() {
  local name="$1"; shift
  cmake -S . -B "build/$name" -DCMAKE_BUILD_TYPE=Debug "$@" >"build/$name.configure.log" 2>&1 &&
    cmake --build "build/$name" -j"$jobs" >"build/$name.build.log" 2>&1
}

# built NAME STATUS: reports a build; a failed one shows its logs' tail and
# counts as a failure.
built() {
  [ "$2" -eq 0 ] && return 0
  echo "== Building build/$1 failed:"
  cat "build/$1.configure.log" "build/$1.build.log" | tail -n 60
  failed=$((failed + 1))
  return 1
}

# host_tests NAME: runs the tests of one host build.
host_tests() {
  timed "tests $1" ctest --test-dir "build/$1" --output-on-failure -j"$jobs" 2>&1 | tee "build/$1.test.log"
  count "build/$1.test.log"
}

# cxx_files FOLDER...: the C++ sources and headers below the folders.
cxx_files() {
  find "$@" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) -print0
}

# check_format: the C++ sources are as .clang-format writes them.
check_format() {
  cxx_files src tools tests bench | xargs -0 clang-format --dry-run -Werror >build/format.log 2>&1
}

echo "== Formatting (clang-format)"
if timed "formatting" check_format; then
  passed=$((passed + 1))
else
  head -n 40 build/format.log
  echo "Formatting differs from .clang-format: run clang-format -i on the files above."
  failed=$((failed + 1))
fi

echo "== Layers (includes point down)"
if timed "layers" scripts/check-layers.sh >build/layers.log 2>&1; then
  passed=$((passed + 1))
else
  cat build/layers.log
  failed=$((failed + 1))
fi

# A Ctrl-C reaches the foreground build, not the background jobs: the
# Windows tests are stopped here, with their displays and wineservers.
stop_wine_tests() {
  [ -s build/win/seats/runner.pid ] && kill "$(cat build/win/seats/runner.pid)" 2>/dev/null
  exit 130
}
trap stop_wine_tests INT TERM

# The Windows build and then its tests make the longest path of the run: the
# host builds go alongside at a lower priority, taking what the Windows build
# leaves of the CPUs and then the time in which the Windows tests wait. The
# wine prefix is made meanwhile too.
echo "== Building build/win, build/host-asan and build/host-tsan"
(
  renice -n 10 -p "$BASHPID" >/dev/null
  timed "build host-asan" build host-asan -DKS_SANITIZE=address
  echo $? >build/host-asan.status
  timed "build host-tsan" build host-tsan -DKS_SANITIZE=thread
  echo $? >build/host-tsan.status
) &
hosts=$!
mkdir -p build/win
rm -f build/win/seats/runner.pid
timed "wine prefix" env WINEDEBUG=-all bash -c '. scripts/wine-env.sh && ks_wine_prefix "$PWD/build/win/wineprefix"' &
prefix_made=$!
wine_run=""
timed "build win" build win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-posix.cmake
if built win $?; then
  wait "$prefix_made"
  echo "== Windows tests (wine, Xvfb) started; their report follows the host tests"
  timed "tests win" scripts/wine-ctest.sh build/win -j"$wine_jobs" >build/win.test.log 2>&1 </dev/null &
  wine_run=$!
fi
wait "$hosts"
if built host-asan "$(cat build/host-asan.status)"; then
  echo "== Host tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
  host_tests host-asan
fi
if built host-tsan "$(cat build/host-tsan.status)"; then
  echo "== Host tests (ThreadSanitizer)"
  host_tests host-tsan
fi
if [ -n "$wine_run" ]; then
  wait "$wine_run"
  echo "== Windows tests (wine, Xvfb)"
  cat build/win.test.log
  count build/win.test.log
fi

# Tests against the code they test: the .cpp and .h files of tests/ against
# those of src/ and tools/ (the benchmarks are neither).
cpp_and_h() {
  find "$@" -type f \( -name '*.cpp' -o -name '*.h' \) -print0
}
test_lines=$(cpp_and_h tests | xargs -0 cat | wc -l)
code_lines=$(cpp_and_h src tools | xargs -0 cat | wc -l)
awk -v t="$test_lines" -v c="$code_lines" \
  'BEGIN { printf "Tests to code lines: %d to %d, ratio %.2f\n", t, c, t / c }'
phase_report
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
