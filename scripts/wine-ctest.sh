#!/usr/bin/env bash
# Runs ctest for a Windows build directory under wine and a private Xvfb, with
# an engine installation (the simulator, the build's skins, the factory themes)
# laid out in the build's wine prefix, where the toolbar looks for one.
#   scripts/wine-ctest.sh BUILD_DIR [ctest arguments...]
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "$1" && pwd)"; shift

if [ -z "${KS_IN_XVFB:-}" ]; then
  export KS_IN_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build" "$@"
fi

. "$here/wine-env.sh"
ks_wine_start "$build"
sim="$build/tools/engine-sim/corvexa-engine-sim.exe"
[ -f "$sim" ] || sim=""
KS_SKINS_DIR="$build/skins" "$here/install-engine-layout.sh" "$WINEPREFIX" $sim >/dev/null
# The wineserver of this prefix (others may run beside it).
server=""
for pid in $(pgrep -x 'wineserver(64)?'); do
  if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
    server=$pid
  fi
done
ctest --test-dir "$build" --output-on-failure "$@"
rc=$?
# A wineserver that crashed meanwhile takes down or stalls the programs that
# were running: say so, since their failures are then wine's.
if [ -n "$server" ] && ! kill -0 "$server" 2>/dev/null; then
  echo "Note: the wineserver (process $server) ended during the run."
fi
ks_wine_stop
exit $rc
