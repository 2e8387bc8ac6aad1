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
ctest --test-dir "$build" --output-on-failure "$@"
rc=$?
ks_wine_stop
exit $rc
