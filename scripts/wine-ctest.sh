#!/usr/bin/env bash
# Runs ctest for a Windows build directory under wine, on seats: a seat is a
# private Xvfb display with a wine prefix and a wineserver of its own, and an
# engine installation (the simulator, the build's skins, the factory themes)
# laid out in the prefix, where the toolbar looks for one. A test that shows
# windows or uses the same-machine engine registry holds a seat for itself
# while it runs (ctest's resource "seats", cmake/KSTestSuites.cmake); every
# other test runs on the first seat, beside whatever holds it. So the window
# tests run as many at a time as there are seats, without meeting on one
# display or one wineserver.
#   scripts/wine-ctest.sh BUILD_DIR [ctest arguments...]
#   KS_WINE_SEATS=N: the number of seats (default 3). Seat 1's prefix is
#   BUILD_DIR/wineprefix, the one the other scripts use; the others are
#   copies of it, BUILD_DIR/wineprefix-seatN.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "$1" && pwd)"; shift
seats="${KS_WINE_SEATS:-3}"

. "$here/wine-env.sh"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
sim="$build/tools/engine-sim/corvexa-engine-sim.exe"
[ -f "$sim" ] || sim=""
work="$build/seats"
mkdir -p "$work"

displays=()  # the Xvfb processes
servers=()   # the wineserver of each seat
prefixes=()
setups=()    # the shells that set the seats up
stop_seats() {
  local prefix pid
  for prefix in "${prefixes[@]}"; do
    WINEPREFIX="$prefix" ks_wine_stop
  done
  for pid in "${displays[@]}"; do
    kill "$pid" 2>/dev/null
  done
}
trap stop_seats EXIT
# Stopped from outside (scripts/test.sh passes on a Ctrl-C as TERM), the run
# ends its tests and takes its seats down with it.
runner=""
trap '[ -n "$runner" ] && kill -TERM -- "-$runner" 2>/dev/null; exit 143' TERM INT
echo $$ >"$work/runner.pid"

# start_display N: starts seat N's Xvfb and sets $display to its name.
start_display() {
  local file="$work/display-$1"
  : >"$file"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$file" </dev/null >/dev/null 2>&1 &
  displays+=($!)
  local tries=100
  while [ ! -s "$file" ] && [ "$tries" -gt 0 ] && kill -0 "${displays[-1]}" 2>/dev/null; do
    sleep 0.1
    tries=$((tries - 1))
  done
  display=":$(head -n 1 "$file")"
  [ "$display" != ":" ]
}

# server_of PREFIX: the process id of the running wineserver of a prefix.
server_of() {
  local pid
  for pid in $(pgrep -x 'wineserver(64)?'); do
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$1"; then
      echo "$pid"
    fi
  done | tail -n 1
}

# Seat 1's prefix is made (once) before it runs, so that the others can start
# as copies of it.
ks_wine_prefix "$build/wineprefix"
spec='{"version": {"major": 1, "minor": 0}, "local": [{"seats": ['
for n in $(seq 1 "$seats"); do
  prefix="$build/wineprefix"
  [ "$n" -gt 1 ] && prefix="$build/wineprefix-seat$n"
  if [ ! -d "$prefix" ]; then
    cp -a "$build/wineprefix" "$prefix" || exit 1
  fi
  if ! start_display "$n"; then
    echo "$0: Xvfb did not start for seat $n" >&2
    exit 1
  fi
  prefixes+=("$prefix")
  export "KS_SEAT${n}_DISPLAY=$display" "KS_SEAT${n}_PREFIX=$prefix"
  (
    export DISPLAY="$display" WINEPREFIX="$prefix"
    ks_wine_fonts
    ks_wine_serve
    KS_SKINS_DIR="$build/skins" "$here/install-engine-layout.sh" "$prefix" $sim >/dev/null
  ) &
  setups+=($!)
  [ "$n" -gt 1 ] && spec+=', '
  spec+="{\"id\": \"seat$n\", \"slots\": 1}"
done
wait "${setups[@]}"
spec+=']}]}'
echo "$spec" >"$work/seats.json"
for prefix in "${prefixes[@]}"; do
  servers+=("$(server_of "$prefix")")
done
export KS_WINE_SEATS="$seats"
export DISPLAY="$KS_SEAT1_DISPLAY"
export WINEPREFIX="$KS_SEAT1_PREFIX"

# In the background, so that a TERM is taken at once rather than when ctest
# has ended; in a process group of its own, so that its tests end with it.
setsid ctest --test-dir "$build" --output-on-failure --resource-spec-file "$work/seats.json" "$@" &
runner=$!
wait "$runner"
rc=$?
runner=""
# A wineserver that crashed meanwhile takes down or stalls the programs that
# were running: say so, since their failures are then wine's.
for n in "${!servers[@]}"; do
  pid="${servers[$n]}"
  if [ -n "$pid" ] && ! kill -0 "$pid" 2>/dev/null; then
    echo "Note: the wineserver of seat $((n + 1)) (process $pid) ended during the run."
  fi
done
exit $rc
