#!/usr/bin/env bash
# make package: installs what is missing (nsis and zip too), makes an optimised
# Windows build in build/package (the programs and the skins only), and builds
# from it build/package/out/corvexa-toolbar-VERSION.zip and
# build/package/out/corvexa-toolbar-VERSION-setup.exe.
#   KS_BUILD_PACKAGE=DIR picks another build folder than build/package.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
build="${KS_BUILD_PACKAGE:-build/package}"

scripts/install-deps.sh || exit 1
scripts/install-deps.sh --packaging || exit 1

echo "== Building $build (Release: the packaged programs and the skins)"
. scripts/build-win.sh
ks_build_win "$build" Release package package-contents || exit 1

echo "== Packages"
scripts/make-packages.sh "$build" "$build/out"
