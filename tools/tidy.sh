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
# The suite's own sources, not files CMake generates in the build; the
# tests are left out (they run under both sanitizers instead, and the
# analyzer spends most of its time in the test macros).
"$runner" -p "$build" -j "$jobs" -quiet \
  "^(?!.*_test\.cc$)$PWD/(common|engine|vegmatch|cornell|deckload|decksave|vegfit|tools|bench|fuzz)/"
