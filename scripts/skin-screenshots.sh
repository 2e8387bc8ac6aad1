#!/usr/bin/env bash
# Takes the pictures of the factory skins that the README shows, with the skin
# viewer of a Windows build (its corvexa-skin-view and skins targets built):
#   scripts/skin-screenshots.sh BUILD_DIR OUT_DIR
# What a skin's keyed colour cuts out of the window comes out transparent.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "$1" && pwd)"
mkdir -p "$2"
out="$(cd "$2" && pwd)"

if [ -z "${KS_IN_XVFB:-}" ]; then
  export KS_IN_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build" "$out"
fi

. "$here/wine-env.sh"
ks_wine_start "$build"
view="$build/tools/skin-view/corvexa-skin-view.exe"
work="$(mktemp -d)"
trap 'ks_wine_stop; rm -rf "$work"' EXIT

# shot NAME SKIN [viewer options...]
shot() {
  local name="$1" skin="$2"
  shift 2
  wine "$view" "$@" --backdrop FF00FF --screenshot "Z:$work/$name.bmp" "Z:$build/skins/$skin" \
    </dev/null >"$work/$name.log" 2>&1 || { cat "$work/$name.log"; return 1; }
  convert "$work/$name.bmp" -transparent '#FF00FF' -strip "$out/$name.png"
  echo "$out/$name.png"
}

shot skin-factory-blue "Factory Blue" --retract
shot skin-factory-blue-extended "Factory Blue" --retract --open Particles
shot skin-compact "Compact"
