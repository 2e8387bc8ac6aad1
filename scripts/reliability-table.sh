#!/usr/bin/env bash
# Copies the engine-fault table that the last run of
# toolbar_faults_test.ToolbarFaults wrote into its build folder into
# docs/reliability.md, between the two marker lines there.
#   scripts/reliability-table.sh [BUILD_DIR]   (default build/win)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/win}"
table="$build/tests/app/engine-faults.md"
doc="$root/docs/reliability.md"
[ -f "$table" ] || { echo "$0: no $table; run the fault test first" >&2; exit 1; }
begin='<!-- engine-faults table: begin -->'
end='<!-- engine-faults table: end -->'
grep -qF "$begin" "$doc" || { echo "$0: no marker lines in $doc" >&2; exit 1; }
awk -v begin="$begin" -v end="$end" -v table="$table" '
  $0 == begin { print; while ((getline line < table) > 0) print line; skip = 1; next }
  $0 == end { skip = 0 }
  !skip { print }' "$doc" >"$doc.new"
mv "$doc.new" "$doc"
echo "docs/reliability.md: table from $table"
