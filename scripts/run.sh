#!/usr/bin/env bash
# The main job: installs what is missing, builds corvexa-toolbar,
# corvexa-ctl, corvexa-engine-sim and the factory skins into build/win, lays
# out an engine installation in the build's wine prefix, starts the simulator
# and runs a short corvexa-ctl session against it (list, get, a few commands,
# a few seconds of notifications). Then it starts the toolbar, which finds the
# simulator and connects:
# - with a display ($DISPLAY set) the toolbar stays up until you close it;
# - without one everything runs in a private Xvfb, and a short tour clicks
#   the toolbar (next wave shape, a color map from the list, the wave-shape
#   slide show, the advanced panel), prints what the simulator received at
#   each step and leaves a screenshot of each step in build/win/run-screenshots
#   (the toolbar starts there from fresh preferences, put back afterwards).
# Stops the simulator at the end.
#   KS_BUILD_WIN=DIR picks another Windows build folder than build/win.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
build="${KS_BUILD_WIN:-build/win}"
engine_name="Corvexa Demo"

scripts/install-deps.sh || exit 1

if [ -z "${DISPLAY:-}" ]; then
  export KS_RUN_TOUR=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

echo "== Building $build (corvexa-toolbar, corvexa-ctl, corvexa-engine-sim, the factory skins)"
. scripts/build-win.sh
ks_build_win "$build" Debug run corvexa-toolbar corvexa-ctl corvexa-engine-sim skins || exit 1
build="$(cd "$build" && pwd)"
ctl_exe="$build/tools/ctl/corvexa-ctl.exe"
sim_exe="$build/tools/engine-sim/corvexa-engine-sim.exe"
toolbar_exe="$build/src/toolbar/corvexa-toolbar.exe"

. scripts/wine-env.sh
ks_wine_start "$build"

work="$(mktemp -d)"
sim_pid=""
failures=0

# The simulator ends when its input does; it gets 20 seconds for that.
stop_sim() {
  [ -n "$sim_pid" ] || return 0
  exec 3>&-
  if ! ks_await_exit "$sim_pid" 20; then
    echo "The simulator did not stop by itself; ending it."
    kill "$sim_pid" 2>/dev/null
    failures=$((failures + 1))
  fi
  wait "$sim_pid" 2>/dev/null
  sim_pid=""
}

toolbar_pid=""
prefs_file=""
finish() {
  if [ -n "$toolbar_pid" ]; then
    kill "$toolbar_pid" 2>/dev/null
    wait "$toolbar_pid" 2>/dev/null
  fi
  # The toolbar's own preferences, as they were before the tour.
  if [ -n "$prefs_file" ]; then
    if [ -f "$work/prefs.saved" ]; then
      cp "$work/prefs.saved" "$prefs_file"
    else
      rm -f "$prefs_file"
    fi
  fi
  stop_sim
  ks_wine_stop
  rm -rf "$work"
}
trap finish EXIT

echo "== Engine installation in the wine prefix"
KS_SKINS_DIR="$build/skins" scripts/install-engine-layout.sh "$WINEPREFIX" "$sim_exe" || exit 1

# Shows a command as typed, then runs it.
ctl() {
  local shown="corvexa-ctl"
  for arg in "$@"; do
    case "$arg" in
      *[[:space:]\"\(\)\;]*) shown+=" '$arg'" ;;
      *) shown+=" $arg" ;;
    esac
  done
  printf '\n$ %s\n' "$shown"
  wine "$ctl_exe" "$@" </dev/null || failures=$((failures + 1))
}

# Long lists of "get" are cut to their first three names here.
abridge() {
  awk '/^  / { if (++n <= 3) print; else if (n == 4) print "  ..."; next } { n = 0; print }'
}

echo "== Starting corvexa-engine-sim"
mkfifo "$work/sim-input"
# Every script the simulator receives goes to its log (a Windows path).
sim_scripts="$work/sim-scripts.log"
wine "$sim_exe" --name "$engine_name" --port 0 --log "Z:${sim_scripts//\//\\}" \
  <"$work/sim-input" >"$work/sim.log" 2>&1 &
sim_pid=$!
exec 3>"$work/sim-input"
for _ in $(seq 150); do
  grep -q "listening on" "$work/sim.log" && break
  kill -0 "$sim_pid" 2>/dev/null || break
  sleep 0.2
done
if ! grep -q "listening on" "$work/sim.log"; then
  echo "The simulator did not start:"
  cat "$work/sim.log"
  exit 1
fi
cat "$work/sim.log"

echo
echo "== A corvexa-ctl session"
ctl list
printf '\n$ corvexa-ctl get   (lists cut short here)\n'
wine "$ctl_exe" get </dev/null | abridge
[ "${PIPESTATUS[0]}" -eq 0 ] || failures=$((failures + 1))
ctl script WaveShapeInterval 75

# Watch in the background while a few commands change the engine.
printf '\n$ corvexa-ctl watch --for 6 &\n'
: >"$work/watch.err"
wine "$ctl_exe" watch --for 6 </dev/null >"$work/watch.out" 2>"$work/watch.err" &
watch_pid=$!
for _ in $(seq 100); do
  grep -q "Watching" "$work/watch.err" && break
  sleep 0.1
done
cat "$work/watch.err"
color_map="$(wine "$ctl_exe" send 'print( GetConfigList(CONFIG_COLORMAP));' </dev/null | sed -n 3p)"
ctl do WaveShapeNext
ctl do ColorMapList "$color_map"
ctl do FlowFieldToggle on
ctl do WaveShapeInterval 75
ctl send 'printf( "%s", GetCurrentColorMap());'
ctl do FlowFieldToggle off
wait "$watch_pid"
watch_rc=$?
[ "$watch_rc" -eq 0 ] || failures=$((failures + 1))
printf '\n(watch ended with exit code %d; it printed:)\n' "$watch_rc"
cat "$work/watch.out"

echo
. scripts/run-toolbar.sh
ks_run_toolbar || failures=$((failures + 1))

echo
echo "== Stopping corvexa-engine-sim"
stop_sim
if [ "$failures" -ne 0 ]; then
  echo "$failures step(s) failed."
  exit 1
fi
echo "Done."
