#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy over every source file of
# the suite:  tools/tidy.sh BUILD_DIR [JOBS]
# BUILD_DIR is a build configured with -DCMAKE_EXPORT_COMPILE_COMMANDS=ON;
# any finding fails the run (the checks are errors).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: tools/tidy.sh BUILD_DIR [JOBS]}
jobs=${2:-2}
[ -f "$build/compile_commands.json" ] || {
  echo "no $build/compile_commands.json: configure with -DCMAKE_EXPORT_COMPILE_COMMANDS=ON" >&2
  exit 2
}
runner=$(command -v run-clang-tidy || command -v run-clang-tidy-14 || true)
[ -n "$runner" ] || { echo "run-clang-tidy not found (Debian package clang-tidy)" >&2; exit 2; }
# Only the suite's own sources, not files CMake generates in the build.
"$runner" -p "$build" -j "$jobs" -quiet "$PWD/(common|vegmatch|deckload|decksave|vegfit|tools|bench|fuzz)/"
