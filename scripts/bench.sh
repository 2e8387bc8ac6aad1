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
. scripts/build-win.sh
ks_build_win "$build" Release bench corvexa-bench corvexa-engine-sim || exit 1
build="$(cd "$build" && pwd)"

. scripts/wine-env.sh
ks_wine_start "$build"
echo "== corvexa-bench (loopback; the machine's other load shows in the numbers)"
(cd "$build/bench" && wine corvexa-bench.exe "$@" </dev/null)
rc=$?
ks_wine_stop
exit $rc
