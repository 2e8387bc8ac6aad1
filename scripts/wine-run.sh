#!/usr/bin/env bash
# Runs one Windows program under wine for CTest (the build's emulator).
# Four failures of wine itself, not of the program, are met now and then on a
# loaded machine: wine's Linux-side loader trips an assertion in ld.so while
# the process exits ("Inconsistency detected by ld.so"), after the program has
# finished; wine dies while starting, before the program prints anything, or
# hangs there (our test programs print their first line at once); or the
# wineserver crashes under the running program, which then waits forever.
# Such a run is repeated once, so that the program's own outcome decides; any
# other failure is reported as it is. The output is passed on as it comes, so
# that a program stopped for taking too long still shows how far it got.
# A test that holds a seat (scripts/wine-ctest.sh) runs on its display, in its
# wine prefix: ctest names the seat as "id:seatN,slots:1".
seat="${CTEST_RESOURCE_GROUP_0_SEATS:-}"
if [ -n "$seat" ]; then
  seat="${seat#id:seat}"
  seat="${seat%%,*}"
  display_of="KS_SEAT${seat}_DISPLAY"
  prefix_of="KS_SEAT${seat}_PREFIX"
  if [ -z "${!display_of:-}" ] || [ -z "${!prefix_of:-}" ]; then
    echo "wine-run.sh: seat $seat is not set up (run the tests with scripts/wine-ctest.sh)" >&2
    exit 1
  fi
  export DISPLAY="${!display_of}" WINEPREFIX="${!prefix_of}"
fi

# The running wineserver of this prefix, if any.
prefix_server() {
  local pid
  for pid in $(pgrep -x 'wineserver(64)?'); do
    # A server may end between the listing and the reading.
    if { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=${WINEPREFIX:-}"; then
      echo "$pid"
    fi
  done | tail -n 1
}

out=$(mktemp)
program=""
follower=""
trap 'rm -f "$out"' EXIT
trap 'kill $program $follower 2>/dev/null; exit 143' TERM INT
for attempt in 1 2; do
  : >"$out"
  wine "$@" >"$out" 2>&1 &
  program=$!
  tail -s 0.1 -n +1 -f --pid="$program" "$out" &
  follower=$!
  server_crashed=0
  start_hung=0
  server=""
  started=$SECONDS
  while kill -0 "$program" 2>/dev/null; do
    [ -n "$server" ] || server=$(prefix_server)
    if grep -q "^wineserver crashed" "$out" || { [ -n "$server" ] && ! kill -0 "$server" 2>/dev/null; }; then
      server_crashed=1
      kill "$program" 2>/dev/null
      break
    fi
    if [ ! -s "$out" ] && [ $((SECONDS - started)) -ge 60 ]; then
      start_hung=1
      kill -KILL "$program" 2>/dev/null
      break
    fi
    sleep 0.2
  done
  wait "$program"
  rc=$?
  wait "$follower"
  if [ $rc -ne 0 ] && [ $attempt -eq 1 ]; then
    if [ $server_crashed -eq 1 ]; then
      echo "(the wineserver crashed under the program; running it once more)"
      continue
    fi
    if grep -q "Inconsistency detected by ld.so" "$out"; then
      echo "(wine's loader failed while the process exited; running it once more)"
      continue
    fi
    if [ $start_hung -eq 1 ]; then
      echo "(wine printed nothing in 60 s: it hung while starting; running it once more)"
      continue
    fi
    if [ ! -s "$out" ]; then
      echo "(wine ended with $rc before the program printed anything; running it once more)"
      continue
    fi
  fi
  exit $rc
done
