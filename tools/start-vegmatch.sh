#!/usr/bin/env bash
# Starts the built vegmatch in run/, a working directory beside the sources
# that holds copies of the shipped reference files; answers and sample files
# written by the run stay there. The repository's data/ is never written.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$top/run"
for file in SPECDICT.txt ASSOCTAB.txt NVCTYPES.txt HELP.txt; do
  cp "$top/data/$file" "$top/run/$file"
done
cd "$top/run"
exec "$top/build/vegmatch/vegmatch"
