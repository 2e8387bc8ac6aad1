# Sourced by run.sh and bench.sh: configures and builds some targets of a
# Windows (mingw-w64) build folder, showing the logs' tails when that fails.
#   ks_build_win DIR BUILD-TYPE LOG-NAME TARGET...
ks_build_win() {
  local dir="$1" type="$2" log="$3"
  shift 3
  mkdir -p "$dir"
  if ! { cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-posix.cmake \
           -DCMAKE_BUILD_TYPE="$type" >"$dir/$log.configure.log" 2>&1 &&
         cmake --build "$dir" -j"$(nproc)" --target "$@" >"$dir/$log.build.log" 2>&1; }; then
    tail -n 40 "$dir/$log.configure.log" "$dir/$log.build.log"
    return 1
  fi
}
