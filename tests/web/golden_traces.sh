#!/usr/bin/env bash
# The headless runner built for Node must reproduce every recorded session, every column of every
# frame, as the native runner does.
# usage: golden_traces.sh WEB_NODE_DIR SOURCE_DIR
set -euo pipefail
web_node=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
runner=$web_node/quorvantile-headless.js
[[ -f $runner ]] || { echo "missing $runner: build it with 'make web'" >&2; exit 1; }

cd "$source_dir/assets"
sessions=0
failed=0
for script in "$source_dir"/tests/tools/golden/*.input; do
  read -r _ _ seed _ frames < "$script"
  actual=$(mktemp)
  node --no-experimental-fetch "$runner" --seed "$seed" --frames "$frames" --input "$script" --trace - >"$actual"
  if ! diff -q "${script%.input}.trace" "$actual" >/dev/null; then
    echo "FAIL $(basename "$script"): first difference:" >&2
    diff "${script%.input}.trace" "$actual" | head -4 >&2
    failed=$((failed + 1))
  fi
  rm -f "$actual"
  sessions=$((sessions + 1))
done
echo "$sessions sessions, $failed differ"
[[ $sessions -ge 3 && $failed -eq 0 ]]
