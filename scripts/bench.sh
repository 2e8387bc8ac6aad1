#!/usr/bin/env bash
# The benchmarks: installs what is missing, builds corvexa-bench,
# corvexa-engine-sim, corvexa-bench-images, corvexa-bench-listview and
# corvexa-bench-notify
# optimised into build/bench, and runs the benchmarks under wine (the list
# view's and the notification's on a private Xvfb: they need a display). Arguments go to corvexa-bench
# (--round-trips N, --pipelined N).
#   KS_BUILD_BENCH=DIR picks another build folder than build/bench.
#   KS_BENCH_CPUS=LIST runs on other CPUs than the first one (all: anywhere).
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
build="${KS_BUILD_BENCH:-build/bench}"

scripts/install-deps.sh || exit 1

echo "== Building $build (Release: corvexa-bench, corvexa-engine-sim, corvexa-bench-images, corvexa-bench-listview, corvexa-bench-notify)"
. scripts/build-win.sh
ks_build_win "$build" Release bench corvexa-bench corvexa-engine-sim corvexa-bench-images \
  corvexa-bench-listview corvexa-bench-notify || exit 1
build="$(cd "$build" && pwd)"

# Waking a thread on an idle second CPU of a virtual machine costs tens of
# microseconds, and more or less from one run to the next; under wine every
# wait is such a hand-off (through wineserver). Kept on one CPU, wineserver
# and all the programs measured switch threads in place, and the numbers show
# what the link and its yardsticks themselves cost. KS_BENCH_CPUS=all leaves
# the placement to the scheduler; any other value is a taskset CPU list.
cpus="${KS_BENCH_CPUS:-0}"
where="all CPUs"
. scripts/wine-env.sh
ks_wine_stop  # a wineserver started elsewhere would not be on the chosen CPUs
if [ "$cpus" != all ]; then
  taskset -pc "$cpus" $$ >/dev/null || exit 1
  where="CPU $cpus"
fi
ks_wine_start "$build"
echo "== corvexa-bench (loopback, on $where; the machine's other load shows in the numbers)"
(cd "$build/bench" && wine corvexa-bench.exe "$@" </dev/null)
rc=$?
echo "== corvexa-bench-images (memory drawing contexts; pictures written to a folder of its own)"
(cd "$build/bench" && wine corvexa-bench-images.exe </dev/null) || rc=1
ks_wine_stop
echo "== corvexa-bench-listview (10,000 rows from one reply; windows on a private Xvfb)"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c \
  '. scripts/wine-env.sh; ks_wine_start "$1"; (cd "$1/bench" && wine corvexa-bench-listview.exe </dev/null); rc=$?; ks_wine_stop; exit $rc' \
  _ "$build" || rc=1
echo "== corvexa-bench-notify (engine notification to control: woken window against its timer alone; private Xvfb)"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c \
  '. scripts/wine-env.sh; ks_wine_start "$1"; (cd "$1/bench" && wine corvexa-bench-notify.exe </dev/null); rc=$?; ks_wine_stop; exit $rc' \
  _ "$build" || rc=1
exit $rc
