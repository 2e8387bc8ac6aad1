#!/usr/bin/env bash
# The benchmark: installs what is missing, builds corvexa-bench and
# corvexa-engine-sim optimised into build/bench, and runs the benchmark under
# wine. Arguments go to corvexa-bench (--round-trips N, --pipelined N).
#   KS_BUILD_BENCH=DIR picks another build folder than build/bench.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
build="${KS_BUILD_BENCH:-build/bench}"

scripts/install-deps.sh || exit 1

echo "== Building $build (Release: corvexa-bench, corvexa-engine-sim)"
mkdir -p "$build"
if ! { cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-posix.cmake \
         -DCMAKE_BUILD_TYPE=Release >"$build/bench.configure.log" 2>&1 &&
       cmake --build "$build" -j"$(nproc)" --target corvexa-bench corvexa-engine-sim \
         >"$build/bench.build.log" 2>&1; }; then
  tail -n 40 "$build/bench.configure.log" "$build/bench.build.log"
  exit 1
fi
build="$(cd "$build" && pwd)"

. scripts/wine-env.sh
ks_wine_start "$build"
echo "== corvexa-bench (loopback; the machine's other load shows in the numbers)"
(cd "$build/bench" && wine corvexa-bench.exe "$@" </dev/null)
rc=$?
ks_wine_stop
exit $rc
