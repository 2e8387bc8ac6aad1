#!/usr/bin/env bash
# Keeps the dependencies pointing down. The folders of src/ are layers, from
# the bottom: foundation; files and net side by side; platform; skin;
# toolbar. A source includes from its own folder and from the layers below
# it only; files and net know nothing of each other. A program of tools/
# includes from src/ and from its own folder. Prints every include that
# breaks this and fails when there is one.
set -uo pipefail
cd "$(dirname "$0")/.."

grep -rnE '^#include "[^/"]+/' src tools --include='*.cpp' --include='*.h' --include='*.c' |
  awk -F: '
    BEGIN {
      layer["foundation"] = 0; layer["files"] = 1; layer["net"] = 1
      layer["platform"] = 2; layer["skin"] = 3; layer["toolbar"] = 4
    }
    {
      split($1, path, "/")
      kind = path[1]; from = path[2]
      to = $3; sub(/^#include "/, "", to); sub(/\/.*/, "", to)
      if (from == to) next
      if ((to in layer) && (kind == "tools" || ((from in layer) && layer[to] < layer[from]))) next
      printf "%s:%s: %s includes from %s, which is not below it\n", $1, $2, from, to
      bad = 1
    }
    END { exit bad }'
