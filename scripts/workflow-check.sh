#!/usr/bin/env bash
# Checks every workflow file against GitHub's workflow schema with npm's
# action-validator (installed by scripts/deps.sh into TOOLS): fails, naming
# the file and the fault, when one would not run.
#   scripts/workflow-check.sh TOOLS WORKFLOWS_DIR
set -euo pipefail
validator=$1/node_modules/.bin/action-validator
[ -x "$validator" ] || { echo "no action-validator in $1: run make deps" >&2; exit 1; }
shopt -s nullglob
files=("$2"/*.yml "$2"/*.yaml)
[ ${#files[@]} -gt 0 ] || { echo "no workflow in $2" >&2; exit 1; }
status=0
for f in "${files[@]}"; do
  if "$validator" "$f"; then echo "valid: $f"; else echo "INVALID: $f" >&2; status=1; fi
done
exit $status
