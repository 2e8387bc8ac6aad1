#!/usr/bin/env bash
# The installer's round trip under wine, in a fresh prefix of its own: builds
# the packages from this build, installs silently, checks the installed files,
# the version resources and what the toolbar's start-up finds, runs the
# installed programs against each other, uninstalls silently and checks that
# only the user's data is left: with no engine installed (the installer's own
# folder), beside an engine below the common library folder with the programs
# put elsewhere by /D=, and after an engine came into the installer's own folder.
#   installer-roundtrip.sh BUILD_DIR PACKAGE_PROBE_EXE
# Exits 77 (skipped) when nsis, zip or unzip is missing: make test installs
# them (scripts/install-deps.sh --packaging) and warns when it cannot.
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "$1" && pwd)"
. "$root/scripts/wine-env.sh"
probe="$2"

for tool in makensis zip unzip; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is missing (scripts/install-deps.sh --packaging installs it)"
    exit 77
  fi
done

work="$build/packaging-test"
export WINEPREFIX="$work/wineprefix"
export WINEDEBUG=-all
wineserver -k </dev/null >/dev/null 2>&1
rm -rf "$work"
mkdir -p "$work"
# No gecko or mono prompts; no desktop entries for the Start-menu shortcuts.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
drive="$WINEPREFIX/drive_c"
failures=0
sim_pid=""

fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

stop_sim() {
  [ -n "$sim_pid" ] || return 0
  exec 3>&-
  ks_await_exit "$sim_pid" 10 || kill "$sim_pid" 2>/dev/null
  wait "$sim_pid" 2>/dev/null
  sim_pid=""
}

finish() {
  stop_sim
  wineserver -k </dev/null >/dev/null 2>&1
}
trap finish EXIT

# run_in_cmd LINE: runs one command line through cmd, so that it reaches the
# program exactly as written (NSIS takes /D= and _?= unquoted, spaces and all).
run_in_cmd() {
  printf '@echo off\r\n%s\r\nexit /b %%errorlevel%%\r\n' "$1" >"$drive/ks-run.bat"
  wine cmd /c 'C:\ks-run.bat' </dev/null
}

unix_path() {
  winepath -u "$1" 2>/dev/null
}

# listing DIR: every file and folder below DIR with a checksum of each file.
listing() {
  (cd "$1" && find . -printf '%y %p\n' | LC_ALL=C sort && find . -type f -exec md5sum {} + | LC_ALL=C sort)
}

# check_installed PROGRAMS_DIR ENGINE_DIR: every staged file is in place, and
# the toolbar's start-up finds the engine folder with the skins and themes.
check_installed() {
  local programs="$1" engine="$2" file target
  local programs_dir engine_dir
  programs_dir="$(unix_path "$programs")"
  engine_dir="$(unix_path "$engine")"
  while IFS= read -r file; do
    case "$file" in
      Skins/* | Themes/*) target="$engine_dir/$file" ;;
      *) target="$programs_dir/$file" ;;
    esac
    cmp -s "$stage/$file" "$target" || fail "$file is not installed as $target"
  done < <(cd "$stage" && find . -type f -printf '%P\n')
  [ -f "$programs_dir/Uninstall Corvexa Toolbar.exe" ] || fail "no uninstaller in $programs"
  for link in "Read Me" "Uninstall Corvexa Toolbar"; do
    [ -f "$menu/$link.lnk" ] || fail "no Start-menu shortcut $link"
  done

  wine "$probe" engine </dev/null 2>&1 | tr -d '\r' >"$work/engine.txt" || fail "the probe failed"
  for line in "engine $engine" "skins $engine\\Skins" "theme Factory Default (factory)"; do
    grep -qFx "$line" "$work/engine.txt" || fail "the toolbar's start-up does not see: $line"
  done
  wine reg query "$uninstall_key" /v DisplayVersion </dev/null 2>&1 | grep -q "$version" ||
    fail "not registered in Add/Remove Programs with version $version"
}

# check_versions FILE...: each file's version resource names the product,
# its version and the company.
check_versions() {
  local windows_file
  for file in "$@"; do
    windows_file="$(winepath -w "$file" 2>/dev/null)"
    wine "$probe" version "$windows_file" </dev/null 2>&1 | tr -d '\r' >"$work/version.txt"
    for line in "Fixed=$version.0" "ProductVersion=$version" "FileVersion=$version" \
                "ProductName=Corvexa Toolbar" "CompanyName=Kestrova"; do
      grep -qFx "$line" "$work/version.txt" || fail "$(basename "$file") lacks $line"
    done
  done
}

# run_toolbar DIR: the installed toolbar starts, shows its window and
# connects to the simulator (a new client in the simulator's log that sends
# scripts), then closes as asked (the simulator sees the connection closed by
# the client, the program ends with 0) and leaves its preferences in the
# user's work folder.
run_toolbar() {
  local dir="$1" log="$drive/sim.log" before client="" toolbar_pid rc
  if [ ! -f "$dir/corvexa-toolbar.exe" ]; then
    fail "no corvexa-toolbar.exe in $dir"
    return
  fi
  before="$(grep -c ' ! connection from ' "$log")"
  wine "$dir/corvexa-toolbar.exe" </dev/null >/dev/null 2>&1 &
  toolbar_pid=$!
  for _ in $(seq 150); do
    client="$(grep ' ! connection from ' "$log" | sed -n "$((before + 1))s/.* #\([0-9]*\) ! .*/\1/p")"
    [ -n "$client" ] && grep -Eq " #$client 0x[0-9A-F]+ > " "$log" &&
      xdotool search --name '^Corvexa Toolbar$' >/dev/null 2>&1 && break
    sleep 0.2
  done
  xdotool search --name '^Corvexa Toolbar$' >/dev/null 2>&1 || fail "the installed toolbar shows no window"
  if [ -z "$client" ]; then
    fail "the installed toolbar did not connect to the simulator"
  else
    grep -Eq " #$client 0x[0-9A-F]+ > " "$log" || fail "the installed toolbar sent the simulator nothing"
  fi

  wine taskkill /im corvexa-toolbar.exe </dev/null >/dev/null 2>&1
  if ! ks_await_exit "$toolbar_pid" 20; then
    fail "the toolbar did not close"
    kill "$toolbar_pid"
    return
  fi
  wait "$toolbar_pid"
  rc=$?
  [ "$rc" -eq 0 ] || fail "the toolbar ended with $rc"
  if [ -n "$client" ]; then
    for _ in $(seq 25); do
      grep -q " #$client ! connection closed by the client" "$log" && break
      sleep 0.2
    done
    grep -q " #$client ! connection closed by the client" "$log" ||
      fail "the toolbar's connection did not end with the toolbar"
  fi
  [ -f "$work_folder/Toolbar Preferences.txt" ] || fail "the toolbar stored no preferences"
}

# run_programs DIR: the installed corvexa-ctl finds and reads the installed
# corvexa-engine-sim; the installed toolbar connects to it (run_toolbar).
run_programs() {
  local dir="$1"
  mkfifo "$work/sim-input"
  wine "$dir/corvexa-engine-sim.exe" --name "Package Test" --port 0 --log 'C:\sim.log' \
    <"$work/sim-input" >"$work/sim.out" 2>&1 &
  sim_pid=$!
  exec 3>"$work/sim-input"
  for _ in $(seq 150); do
    grep -q "listening on" "$work/sim.out" && break
    sleep 0.2
  done
  grep -q "listening on" "$work/sim.out" || fail "the installed simulator did not start"
  wine "$dir/corvexa-ctl.exe" list </dev/null 2>&1 | grep -q "Package Test" ||
    fail "the installed corvexa-ctl does not list the simulator"
  wine "$dir/corvexa-ctl.exe" get </dev/null >"$work/get.txt" 2>&1 ||
    { fail "corvexa-ctl get failed:"; cat "$work/get.txt"; }

  run_toolbar "$dir"
  stop_sim
}

# uninstall PROGRAMS_DIR: runs a copy of the uninstaller in place of it (the
# uninstaller itself would hand over to a copy of its own and return at once).
uninstall() {
  cp "$(unix_path "$1")/Uninstall Corvexa Toolbar.exe" "$drive/ks-uninstall.exe"
  run_in_cmd "C:\\ks-uninstall.exe /S _?=$1" || fail "the uninstaller failed"
  rm -f "$drive/ks-uninstall.exe"
}

# Packages made from this build, the way make package makes them.
"$root/scripts/make-packages.sh" "$build" "$work/out" >"$work/make-packages.log" 2>&1 ||
  { cat "$work/make-packages.log"; echo "FAILED: the packages could not be built"; exit 1; }
version="$(sed -n 's/^!define KS_VERSION "\(.*\)"$/\1/p' "$build/packaging/product.nsh")"
stage="$build/packaging/stage/corvexa-toolbar-$version"
unzip -Z1 "$work/out/corvexa-toolbar-$version.zip" | sed "s|^corvexa-toolbar-$version/||" |
  grep -v '/$' | grep . | LC_ALL=C sort >"$work/zip.txt"
(cd "$stage" && find . -type f -printf '%P\n' | LC_ALL=C sort) | diff - "$work/zip.txt" >/dev/null ||
  fail "the zip does not hold the staged package"

echo "== A fresh wine prefix"
ks_wine_serve
cp "$work/out/corvexa-toolbar-$version-setup.exe" "$drive/ks-setup.exe"
check_versions "$drive/ks-setup.exe" "$stage"/*.exe
menu="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Corvexa Toolbar"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvexa Toolbar'
work_folder="$(unix_path "$(wine cmd /c echo %APPDATA% </dev/null | tr -d '\r')")/Kestrova/Corvexa"
own='C:\Program Files\Kestrova\Corvexa'

# check_user_data_only: nothing installed is left, and the user's data is as
# it was before the uninstaller ran.
check_user_data_only() {
  [ ! -e "$drive/Program Files/Kestrova" ] || fail "Program Files\\Kestrova is still there"
  [ ! -e "$menu" ] || fail "the Start-menu folder is still there"
  wine reg query "$uninstall_key" </dev/null >/dev/null 2>&1 && fail "the Add/Remove entry is still there"
  listing "$work_folder" | diff "$work/user-data.txt" - || fail "the user's data changed"
}

# save_user_data: a preference file (the toolbar's, when it ran) and a theme
# of the user's, besides what the toolbar's start-up has made there, taken
# down for the check after uninstalling.
save_user_data() {
  [ -f "$work_folder/Toolbar Preferences.txt" ] ||
    echo 'TTop=1 Vers=350 ' >"$work_folder/Toolbar Preferences.txt"
  mkdir -p "$work_folder/Themes/Mine"
  printf 'LNam="Mine" PNam="Mine" Vers=1 \r\n---\r\nWaveShape/*/On=1 \r\n' >"$work_folder/Themes/Mine/theme.txt"
  listing "$work_folder" >"$work/user-data.txt"
}

echo "== No engine installed: the installer's own folder"
run_in_cmd 'C:\ks-setup.exe /S' || fail "the installer failed"
check_installed "$own" "$own"
run_programs "$drive/Program Files/Kestrova/Corvexa"
save_user_data
uninstall "$own"
check_user_data_only

echo "== An engine below the common library folder; the programs in a /D= folder"
engine='C:\Program Files\Common Files\Kestrova\Corvexa'
engine_dir="$(unix_path "$engine")"
mkdir -p "$engine_dir/Resources" "$engine_dir/Skins/Engine Skin" "$engine_dir/Themes"
echo "engine" >"$engine_dir/Resources/info.txt"
echo "an engine's skin" >"$engine_dir/Skins/Engine Skin/skin.txt"
listing "$engine_dir" >"$work/engine-before.txt"
programs='C:\Tools\Corvexa Toolbar'
run_in_cmd "C:\\ks-setup.exe /S /D=$programs" || fail "the installer failed"
check_installed "$programs" "$engine"
save_user_data
uninstall "$programs"
check_user_data_only
[ ! -e "$drive/Tools" ] || fail "C:\\Tools is still there"
listing "$engine_dir" | diff "$work/engine-before.txt" - || fail "the engine's folder changed"

echo "== An engine installed later into the installer's own folder"
rm -rf "$drive/Program Files/Common Files/Kestrova"
run_in_cmd 'C:\ks-setup.exe /S' || fail "the installer failed"
own_dir="$drive/Program Files/Kestrova/Corvexa"
echo "engine" >"$own_dir/Resources/info.txt"
echo "the engine's Deck" >"$own_dir/Corvexa Deck.exe"
uninstall "$own"
(cd "$own_dir" && find . | LC_ALL=C sort | tr '\n' ' ') | grep -qx '. ./Corvexa Deck.exe ./Resources ./Resources/info.txt ' ||
  fail "uninstalling beside a later engine left more or less than the engine's files"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed; the prefix is kept in $WINEPREFIX"
  exit 1
fi
echo "The installer's round trip passed."
# Wine's own processes (the desktop the toolbar opened among them) write into
# the prefix until the server is gone.
wineserver -k </dev/null >/dev/null 2>&1
wineserver -w </dev/null >/dev/null 2>&1
rm -rf "$WINEPREFIX" || echo "note: the prefix $WINEPREFIX could not be removed entirely"
