#!/usr/bin/env bash
# Runs one Windows program under wine for CTest (the build's emulator).
# Wine's Linux-side loader sometimes trips an assertion in ld.so while the wine
# process exits ("Inconsistency detected by ld.so"), after the program has
# finished and printed its result. Such a run is repeated once, so that the
# program's own outcome decides; any other failure is reported as it is.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
for attempt in 1 2; do
  wine "$@" >"$out" 2>&1
  rc=$?
  cat "$out"
  if [ $rc -ne 0 ] && [ $attempt -eq 1 ] && grep -q "Inconsistency detected by ld.so" "$out"; then
    echo "(wine's loader failed while the process exited; running it once more)"
    continue
  fi
  exit $rc
done
