#!/usr/bin/env bash
# Lays out a simulated engine installation inside a wine prefix, where the
# toolbar's engine search finds it:
#   <prefix>/drive_c/Program Files/Kestrova/Corvexa/
#     Resources/info.txt
#     Skins/      the finished factory skins of a Windows build (skin.txt and the
#                 pictures drawn from skins/): KS_SKINS_DIR, by default build/win/skins
#     Themes/     the factory themes of the repository's themes/ folder
#     <engine simulator>.exe   when its path is given
#
#   scripts/install-engine-layout.sh WINEPREFIX [ENGINE_SIM_EXE]
#
# Running it again refreshes the layout: skins and themes are replaced, other
# files in the engine folder are left alone.
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: $0 WINEPREFIX [ENGINE_SIM_EXE]" >&2
  exit 2
fi
root="$(cd "$(dirname "$0")/.." && pwd)"
prefix="$1"
engine_exe="${2:-}"

if [ ! -d "$prefix/drive_c" ]; then
  echo "$0: $prefix is not a wine prefix (no drive_c)" >&2
  exit 1
fi
if [ -n "$engine_exe" ] && [ ! -f "$engine_exe" ]; then
  echo "$0: no engine simulator at $engine_exe" >&2
  exit 1
fi

engine="$prefix/drive_c/Program Files/Kestrova/Corvexa"
mkdir -p "$engine/Resources" "$engine/Skins" "$engine/Themes"

cat >"$engine/Resources/info.txt" <<'INFO'
Corvexa engine installation (simulated for development and tests).
INFO

# copy_children SRC DEST: replaces each sub-folder of SRC inside DEST.
copy_children() {
  local src="$1" dest="$2" item
  [ -d "$src" ] || return 0
  for item in "$src"/*/; do
    [ -d "$item" ] || continue
    item="${item%/}"
    rm -rf "$dest/$(basename "$item")"
    cp -R "$item" "$dest/"
  done
}
copy_children "$root/themes" "$engine/Themes"
skins="${KS_SKINS_DIR:-$root/build/win/skins}"
if [ -d "$skins" ]; then
  copy_children "$skins" "$engine/Skins"
else
  echo "$0: warning: no finished skins in $skins (build the target skins); Skins/ left as it is" >&2
fi

if [ -n "$engine_exe" ]; then
  cp "$engine_exe" "$engine/"
fi
echo "$engine"
