#!/usr/bin/env bash
# Runs one Windows program under wine for CTest (the build's emulator).
# Two failures of wine itself, not of the program, are met now and then on a
# loaded machine: wine's Linux-side loader trips an assertion in ld.so while
# the process exits ("Inconsistency detected by ld.so"), after the program has
# finished; or wine dies while starting, before the program prints anything.
# Such a run is repeated once, so that the program's own outcome decides; any
# other failure is reported as it is. The output is passed on as it comes, so
# that a program stopped for taking too long still shows how far it got.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
for attempt in 1 2; do
  wine "$@" 2>&1 | tee "$out"
  rc=${PIPESTATUS[0]}
  if [ $rc -ne 0 ] && [ $attempt -eq 1 ]; then
    if grep -q "Inconsistency detected by ld.so" "$out"; then
      echo "(wine's loader failed while the process exited; running it once more)"
      continue
    fi
    if [ ! -s "$out" ]; then
      echo "(wine ended with $rc before the program printed anything; running it once more)"
      continue
    fi
  fi
  exit $rc
done
