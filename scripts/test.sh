#!/usr/bin/env bash
# The whole test suite: installs what is missing, checks the formatting of the
# C++ sources and that their includes point down the layers of src/, makes the
# Windows build and the two host sanitizer builds side by side, runs the
# Windows tests under wine and the host tests, prints the size of the tests
# against the code, and ends with one line "N passed, M failed" over all of
# them (a failed build, formatting or layer check counts as one failure).
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
jobs=$(nproc)
# As many Windows tests at once as there are CPUs.
wine_jobs=$jobs

scripts/install-deps.sh || { echo "0 passed, 1 failed"; exit 1; }
# Without nsis the installer test (PackageRoundTrip) is skipped, and says so.
scripts/install-deps.sh --packaging || echo "warning: nsis, zip or unzip could not be installed"

passed=0
failed=0

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
  ctest --test-dir "build/$1" --output-on-failure -j"$jobs" 2>&1 | tee "build/$1.test.log"
  count "build/$1.test.log"
}

# cxx_files FOLDER...: the C++ sources and headers below the folders.
cxx_files() {
  find "$@" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) -print0
}

mkdir -p build

echo "== Formatting (clang-format)"
if cxx_files src tools tests bench | xargs -0 clang-format --dry-run -Werror >build/format.log 2>&1; then
  passed=$((passed + 1))
else
  head -n 40 build/format.log
  echo "Formatting differs from .clang-format: run clang-format -i on the files above."
  failed=$((failed + 1))
fi

echo "== Layers (includes point down)"
if scripts/check-layers.sh >build/layers.log 2>&1; then
  passed=$((passed + 1))
else
  cat build/layers.log
  failed=$((failed + 1))
fi

# The host builds go alongside the Windows build, and the Windows tests, which
# mostly wait, alongside whatever of the host builds is left.
echo "== Building build/win, build/host-asan and build/host-tsan"
(
  build host-asan -DKS_SANITIZE=address
  echo $? >build/host-asan.status
  build host-tsan -DKS_SANITIZE=thread
  echo $? >build/host-tsan.status
) &
hosts=$!
wine_run=""
build win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-posix.cmake
if built win $?; then
  echo "== Windows tests (wine, Xvfb) started; their report follows the host tests"
  scripts/wine-ctest.sh build/win -j"$wine_jobs" >build/win.test.log 2>&1 </dev/null &
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
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
