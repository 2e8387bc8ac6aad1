#!/usr/bin/env bash
# Builds the two packages from a Windows build folder whose target
# package-contents is built: OUT_DIR/corvexa-toolbar-VERSION.zip and
# OUT_DIR/corvexa-toolbar-VERSION-setup.exe (NSIS, packaging/corvexa-toolbar.nsi).
#   scripts/make-packages.sh BUILD_DIR OUT_DIR
#
# cmake --install stages the package in BUILD_DIR/packaging/stage/NAME: the
# programs, README.txt and LICENSE.txt at the top, the skins in Skins/ and the
# themes in Themes/. The zip holds that folder; the installer's lists of files
# (BUILD_DIR/packaging/files.nsh) are written from it, so that the uninstaller
# removes exactly what the installer put in place.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

if [ $# -ne 2 ]; then
  echo "usage: $0 BUILD_DIR OUT_DIR" >&2
  exit 2
fi
build="$(cd "$1" && pwd)"
mkdir -p "$2"
out="$(cd "$2" && pwd)"

for tool in makensis zip; do
  if ! command -v "$tool" >/dev/null; then
    echo "$0: $tool is missing (scripts/install-deps.sh --packaging installs it)" >&2
    exit 1
  fi
done

version="$(sed -n 's/^!define KS_VERSION "\(.*\)"$/\1/p' "$build/packaging/product.nsh")"
if [ -z "$version" ]; then
  echo "$0: no version in $build/packaging/product.nsh (is $build a Windows build?)" >&2
  exit 1
fi
name="corvexa-toolbar-$version"
staged="$build/packaging/stage"
stage="$staged/$name"

rm -rf "$staged"
cmake --install "$build" --prefix "$stage" --strip >/dev/null
if [ ! -f "$stage/corvexa-toolbar.exe" ]; then
  echo "warning: this build has no corvexa-toolbar program yet: the packages hold" \
       "corvexa-ctl, corvexa-engine-sim, the skins and themes, README and licence only" >&2
fi

# nsis_text TEXT: TEXT inside an NSIS string in double quotes (names with a
# double quote are refused below).
nsis_text() {
  printf '%s' "${1//\$/\$\$}"
}

# windows_path PATH: PATH with backslashes.
windows_path() {
  printf '%s' "${1//\//\\}"
}

# write_file_lists: the macros that install and remove the package's files.
# Files at the top of the stage go to $INSTDIR, the Skins and Themes folders
# into $EngineFolder. File takes its sources relative to the stage (makensis
# runs there).
write_file_lists() {
  local top_files dirs files file dir target
  mapfile -t top_files < <(find . -mindepth 1 -maxdepth 1 -type f -printf '%P\n' | LC_ALL=C sort)
  mapfile -t dirs < <(find Skins Themes -type d | LC_ALL=C sort)
  if find . -mindepth 1 -maxdepth 1 -type d ! -name Skins ! -name Themes | grep -q .; then
    echo "$0: the stage holds a folder the installer does not know where to put" >&2
    return 1
  fi

  echo "; The package's files, listed by scripts/make-packages.sh from the staged package."
  echo "!define KS_INSTALLED_KB $(du -sk . | cut -f1)"
  echo
  echo "!macro KSInstallPrograms"
  echo "  SetOutPath \"\$INSTDIR\""
  for file in "${top_files[@]}"; do
    echo "  File \"$(nsis_text "$file")\""
  done
  echo "!macroend"
  echo
  echo "!macro KSInstallContent"
  for dir in "${dirs[@]}"; do
    target="\$EngineFolder\\$(nsis_text "$(windows_path "$dir")")"
    echo "  Push \"$target\""
    echo "  Call KSMakeFolder"
    mapfile -t files < <(find "$dir" -mindepth 1 -maxdepth 1 -type f -printf '%P\n' | LC_ALL=C sort)
    [ ${#files[@]} -eq 0 ] && continue
    echo "  SetOutPath \"$target\""
    for file in "${files[@]}"; do
      echo "  File \"$(nsis_text "$dir/$file")\""
    done
  done
  echo "!macroend"
  echo
  echo "!macro KSRemovePrograms"
  for file in "${top_files[@]}"; do
    echo "  Delete \"\$INSTDIR\\$(nsis_text "$file")\""
  done
  echo "!macroend"
  echo
  echo "!macro KSRemoveContent"
  while IFS= read -r file; do
    echo "  Delete \"\$EngineFolder\\$(nsis_text "$(windows_path "$file")")\""
  done < <(find Skins Themes -type f | LC_ALL=C sort)
  echo "!macroend"
}

cd "$stage"
if grep -q '"' < <(find . -print); then
  echo "$0: a staged file name holds a double quote" >&2
  exit 1
fi
write_file_lists >"$build/packaging/files.nsh"

toolbar_define=()
[ -f corvexa-toolbar.exe ] && toolbar_define=(-DKS_HAVE_TOOLBAR)
rm -f "$out/$name-setup.exe" "$out/$name.zip"
# -NOCD: the File sources are relative to the stage, not to the script.
makensis -V2 -WX -NOCD -DKS_BUILD="$build" -DKS_OUTFILE="$out/$name-setup.exe" \
  "${toolbar_define[@]}" "$root/packaging/corvexa-toolbar.nsi"

cd "$staged"
zip -q -r -X "$out/$name.zip" "$name"
echo "$out/$name.zip"
echo "$out/$name-setup.exe"
