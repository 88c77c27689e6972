#!/usr/bin/env bash
# Starts the built deckload in run/, the working directory beside the sources
# that start-vegmatch.sh uses, so that the sample file it writes can be read
# by vegmatch there at once. A Cornell file named on the command line is
# copied into run/ first (an existing file of that name is kept).
# Usage: tools/start-deckload.sh [cornell-file]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$top/run"
if [ $# -gt 0 ]; then
  cp -n "$1" "$top/run/$(basename "$1")"
fi
cd "$top/run"
exec "$top/build/deckload/deckload"
