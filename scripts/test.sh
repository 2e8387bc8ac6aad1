#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds the Windows build and
# the two host sanitizer builds, runs every test, and ends with one line
# "N passed, M failed" over all of them.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
jobs=$(nproc)

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

# build NAME CMAKE-ARGS...: configures and builds; a failed build counts as a failure.
build() {
  local dir="build/$1"; shift
  echo "== Building $dir"
  if cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug "$@" >"build/$(basename "$dir").configure.log" 2>&1 &&
     cmake --build "$dir" -j"$jobs" >"build/$(basename "$dir").build.log" 2>&1; then
    return 0
  fi
  cat "build/$(basename "$dir").configure.log" "build/$(basename "$dir").build.log" | tail -n 60
  failed=$((failed + 1))
  return 1
}

mkdir -p build
if build win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-posix.cmake; then
  echo "== Windows tests (wine, Xvfb)"
  scripts/wine-ctest.sh build/win 2>&1 | tee build/win.test.log
  count build/win.test.log
fi
if build host-asan -DKS_SANITIZE=address; then
  echo "== Host tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
  ctest --test-dir build/host-asan --output-on-failure -j"$jobs" 2>&1 | tee build/host-asan.test.log
  count build/host-asan.test.log
fi
if build host-tsan -DKS_SANITIZE=thread; then
  echo "== Host tests (ThreadSanitizer)"
  ctest --test-dir build/host-tsan --output-on-failure -j"$jobs" 2>&1 | tee build/host-tsan.test.log
  count build/host-tsan.test.log
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
