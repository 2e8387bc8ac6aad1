#!/usr/bin/env bash
# The benchmarks: installs what is missing, builds them optimised into
# build/bench with the programs they measure (corvexa-bench,
# corvexa-engine-sim, corvexa-bench-images, corvexa-bench-listview,
# corvexa-bench-notify, corvexa-bench-skins, corvexa-bench-toolbar with
# corvexa-bench-window and corvexa-toolbar), runs them under wine (those that
# show windows on a private Xvfb) and ends with one table of every result
# against its target. Arguments go to corvexa-bench (--round-trips N,
# --pipelined N).
#   KS_BUILD_BENCH=DIR picks another build folder than build/bench.
#   KS_BENCH_CPUS=LIST runs on other CPUs than the first one (all: anywhere).
#   KS_BENCH_TOOLBAR_ARGS="..." goes to corvexa-bench-toolbar (--starts N,
#   --idle-seconds N, --hour-rate N, --idle-only, --starts-only).
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
build="${KS_BUILD_BENCH:-build/bench}"

scripts/install-deps.sh || exit 1

echo "== Building $build (Release: the benchmarks and what they measure)"
. scripts/build-win.sh
ks_build_win "$build" Release bench corvexa-bench corvexa-engine-sim corvexa-bench-images \
  corvexa-bench-listview corvexa-bench-notify corvexa-bench-skins corvexa-bench-toolbar || exit 1
build="$(cd "$build" && pwd)"
# Every benchmark's output, for the summary at the end.
results="$build/bench/results.txt"
: >"$results"

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
(cd "$build/bench" && wine corvexa-bench.exe "$@" </dev/null) | tee -a "$results"
rc=${PIPESTATUS[0]}
echo "== corvexa-bench-images (memory drawing contexts; pictures written to a folder of its own)"
(cd "$build/bench" && wine corvexa-bench-images.exe </dev/null) | tee -a "$results"
[ "${PIPESTATUS[0]}" -eq 0 ] || rc=1
ks_wine_stop
# run_on_display PROGRAM [ARGS...]: runs a benchmark of build/bench on a
# private Xvfb, with the engine installation the toolbar looks for laid out in
# the prefix.
run_on_display() {
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    . scripts/wine-env.sh; ks_wine_start "$1"
    KS_SKINS_DIR="$1/skins" scripts/install-engine-layout.sh "$WINEPREFIX" >/dev/null
    dir="$1/bench"; shift
    (cd "$dir" && wine "$@" </dev/null); rc=$?; ks_wine_stop; exit $rc' \
    _ "$build" "$@" | tee -a "$results"
  [ "${PIPESTATUS[0]}" -eq 0 ] || rc=1
}
echo "== corvexa-bench-listview (10,000 rows from one reply; windows on a private Xvfb)"
run_on_display corvexa-bench-listview.exe
echo "== corvexa-bench-notify (engine notification to control: woken window against its timer alone; private Xvfb)"
run_on_display corvexa-bench-notify.exe
echo "== corvexa-bench-skins (skin switches against their pictures alone; private Xvfb)"
run_on_display corvexa-bench-skins.exe
echo "== corvexa-bench-toolbar (start, idle and memory of corvexa-toolbar.exe against a minimal window; private Xvfb, about 4 minutes)"
# shellcheck disable=SC2086
run_on_display corvexa-bench-toolbar.exe ${KS_BENCH_TOOLBAR_ARGS:-}

echo
echo "== Summary ($(grep -c ^processor /proc/cpuinfo) CPUs, load average $(cut -d' ' -f1-3 /proc/loadavg) at the end, on $where)"
echo "| benchmark | result | target | |"
echo "| --- | --- | --- | --- |"
tr -d '\r' <"$results" | sed -n 's/^summary: //p'
exit $rc
