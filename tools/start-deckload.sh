#!/usr/bin/env bash
# Starts the built deckload in run/, the working directory beside the sources
# that start-vegmatch.sh uses, so that the sample file it writes can be read
# by vegmatch there at once. A Cornell file named on the command line is
# copied into run/ first (an existing file of that name is kept).
#
# The program is taken from build-run/ (where the README's start command
# builds vegmatch and its build command for the converters builds deckload)
# or else from build/ (the test build).
# Usage: tools/start-deckload.sh [cornell-file]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
program=""
for dir in "$top/build-run" "$top/build"; do
  if [ -x "$dir/deckload/deckload" ]; then
    program="$dir/deckload/deckload"
    break
  fi
done
if [ -z "$program" ]; then
  echo "start-deckload.sh: no built deckload in build-run/ or build/; build it first:" >&2
  echo "  cmake -S . -B build-run -DVEG_TESTS=OFF -DVEG_BENCH=OFF && cmake --build build-run -j2 --target deckload decksave" >&2
  exit 1
fi
mkdir -p "$top/run"
if [ $# -gt 0 ]; then
  cp -n "$1" "$top/run/$(basename "$1")"
fi
cd "$top/run"
exec "$program"
