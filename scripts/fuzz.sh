#!/usr/bin/env bash
# Builds every libFuzzer target (host build with clang, ASan + UBSan, in
# build/fuzz) and runs each for a time budget, one after the other.
#
#   scripts/fuzz.sh [SECONDS] [NAME...]     (make fuzz BUDGET=SECONDS)
#   RUNS=N scripts/fuzz.sh 0 [NAME...]      (make fuzz RUNS=N)
#
# SECONDS is each target's budget (default 180); with RUNS set each target
# runs N inputs instead, however long that takes (a campaign: RUNS=10000000).
# NAMEs pick targets from the table below (default all). Each target works on its corpus in
# build/fuzz/corpus/NAME, which keeps what earlier runs found and gets the
# target's seeds copied in; its log goes to build/fuzz/logs/NAME.log and what
# it finds (crash-, leak-, timeout- and oom- files) to build/fuzz/findings/NAME.
# Prints one line per target and exits non-zero when anything was found.
set -uo pipefail

cd "$(dirname "$0")/.."
budget="${1:-180}"
shift || true
runs="${RUNS:-}"
case "$budget$runs" in
  '' | *[!0-9]*) echo "fuzz.sh: the budget and RUNS must be numbers, not '$budget' '$runs'" >&2; exit 2 ;;
esac

# name | CMake target and its folder under tests/ | longest input | dictionary | seed folders (':'
# between). Binary seeds are made by the make-*-seeds.py script beside them.
targets=(
  "ksmp|net/fuzz/net_ksmp_fuzz|4096||tests/net/fuzz/ksmp-seeds"
  "zcslot|net/fuzz/net_zcslot_fuzz|8192||tests/net/fuzz/zcslot-seeds"
  "tar|files/fuzz/files_tar_fuzz|16384||tests/files/fuzz/tar-seeds"
  "arglist|foundation/fuzz/foundation_arglist_fuzz|8192||tests/foundation/fuzz/arglist-seeds"
  "unicode|foundation/fuzz/foundation_unicode_fuzz|4096||tests/foundation/fuzz/unicode-seeds"
  "bmp|platform/fuzz/platform_bmp_fuzz|4096||tests/platform/fuzz/bmp-seeds"
  "skin|skin/fuzz/skin_parse_fuzz|8192|tests/skin/fuzz/skin.dict|tests/skin/fuzz/seeds:tests/skin/data:skins/Compact:skins/Factory Blue"
  "theme|toolbar/fuzz/toolbar_theme_fuzz|4096|tests/toolbar/fuzz/theme.dict|tests/toolbar/fuzz/seeds:themes/Factory Default"
  "script|engine-sim/fuzz/enginesim_script_fuzz|1024|tests/engine-sim/fuzz/script.dict|tests/engine-sim/fuzz/seeds"
)

chosen=()
for entry in "${targets[@]}"; do
  name="${entry%%|*}"
  if [ $# -eq 0 ] || [[ " $* " == *" $name "* ]]; then
    chosen+=("$entry")
  fi
done
if [ ${#chosen[@]} -eq 0 ]; then
  echo "fuzz.sh: no target called $*" >&2
  exit 2
fi

# --- clang and its libFuzzer runtime ---------------------------------------
install_packages() {
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: $*"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}
missing=()
for p in cmake make clang googletest; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] || install_packages "${missing[@]}" || exit 1
runtime="$(clang -print-file-name=libclang_rt.fuzzer-x86_64.a)"
if [ ! -f "$runtime" ]; then
  major="$(clang -dumpversion | cut -d. -f1)"
  install_packages "libclang-rt-$major-dev" || exit 1
fi

# --- build -------------------------------------------------------------------
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
mkdir -p build/fuzz/logs
# Optimised: a debug build runs several times fewer inputs in the same time.
if ! cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DKS_FUZZ=ON "${launcher[@]}" >build/fuzz/logs/configure.log 2>&1; then
  tail -20 build/fuzz/logs/configure.log
  echo "fuzz.sh: configuring build/fuzz failed (build/fuzz/logs/configure.log)" >&2
  exit 1
fi
build_targets=()
for entry in "${chosen[@]}"; do
  IFS='|' read -r _ path _ _ _ <<<"$entry"
  build_targets+=("$(basename "$path")")
done
echo "== Building ${build_targets[*]}"
if ! cmake --build build/fuzz -j2 --target "${build_targets[@]}" >build/fuzz/logs/build.log 2>&1; then
  grep -E "error|Error" build/fuzz/logs/build.log | head -20
  echo "fuzz.sh: the build failed (build/fuzz/logs/build.log)" >&2
  exit 1
fi

# --- run -------------------------------------------------------------------
if [ -n "$runs" ]; then
  echo "== Running $runs inputs through each target"
  limit=(-runs="$runs")
else
  echo "== Running each target for ${budget} s"
  limit=(-max_total_time="$budget")
fi
# count_findings FOLDER: the inputs that crashed, leaked, timed out or ran out
# of memory. libFuzzer also leaves "slow-unit-" files there, for inputs that
# took over 10 s without reaching the time-out; on a loaded machine they are
# inputs the scheduler held up, and replaying one shows its real time.
count_findings() {
  find "$1" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) |
    wc -l
}
failed=0
for entry in "${chosen[@]}"; do
  IFS='|' read -r name path max_len dict seeds <<<"$entry"
  corpus="build/fuzz/corpus/$name"
  findings="build/fuzz/findings/$name"
  log="build/fuzz/logs/$name.log"
  mkdir -p "$corpus" "$findings"
  if [ -n "$seeds" ]; then
    IFS=':' read -r -a folders <<<"$seeds"
    for folder in "${folders[@]}"; do
      find "$folder" -maxdepth 1 -type f -exec cp {} "$corpus/" \;
    done
  fi
  options=("${limit[@]}" -max_len="$max_len" -timeout=10 -print_final_stats=1
           -artifact_prefix="$findings/")
  [ -n "$dict" ] && options+=(-dict="$dict")
  before="$(count_findings "$findings")"
  start=$SECONDS
  nice -n 19 "build/fuzz/tests/$path" "${options[@]}" "$corpus" >"$log" 2>&1
  rc=$?
  took=$((SECONDS - start))

  done_runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
  [ -n "$done_runs" ] || done_runs="$(sed -n 's/^#\([0-9]*\).*/\1/p' "$log" | tail -1)"
  cov="$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | cut -d' ' -f2)"
  found=$(($(count_findings "$findings") - before))
  status="clean"
  if [ "$found" -gt 0 ]; then
    status="$found finding(s) in $findings"
    failed=1
  elif [ "$rc" -ne 0 ]; then
    status="stopped with exit code $rc (see $log)"
    failed=1
  fi
  printf '%-8s runs %10s in %5s s   cov %6s   %s\n' "$name" "${done_runs:-0}" "$took" "${cov:-?}" \
    "$status"
done

if [ "$failed" -ne 0 ]; then
  echo "fuzz: FAILED. Replay a finding with: build/fuzz/tests/<target path> <finding file>"
  exit 1
fi
echo "fuzz: no findings"
