#!/usr/bin/env bash
# Starts the built vegmatch in run/, a working directory beside the sources
# that holds copies of the shipped reference files; answers and sample files
# written by the run stay there. The repository's data/ is never written.
#
# The program is taken from build-run/ (the README's start command builds it
# there) or else from build/ (the test build); a build directory given as
# the first argument comes first.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
program=""
for dir in ${1:+"$1"} "$top/build-run" "$top/build"; do
  if [ -x "$dir/vegmatch/vegmatch" ]; then
    program=$(cd "$dir/vegmatch" && pwd)/vegmatch
    break
  fi
done
if [ -z "$program" ]; then
  echo "start-vegmatch.sh: no built vegmatch in build-run/ or build/; build it first:" >&2
  echo "  cmake -S . -B build-run -DVEG_TESTS=OFF -DVEG_BENCH=OFF && cmake --build build-run -j2 --target vegmatch" >&2
  exit 1
fi
mkdir -p "$top/run"
for file in SPECDICT.txt ASSOCTAB.txt NVCTYPES.txt HELP.txt VERSION.txt; do
  cp "$top/data/$file" "$top/run/$file"
done
cd "$top/run"
exec "$program"
