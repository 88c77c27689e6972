#!/usr/bin/env bash
# The suite as a user installs it, from a build directory of the tree:
#   tools/check_packages.sh prefix BUILD    cmake --install to a temporary prefix
#   tools/check_packages.sh deb BUILD       cpack -G DEB, dpkg -i, dpkg -r
#   tools/check_packages.sh windows BUILD   a MinGW-w64 cross-build in BUILD,
#                                           its zip, and the .exe files under Wine
# Each runs the installed vegfit on the example quadrats and the installed
# vegmatch on them through piped keys, from a directory without reference
# files, and compares what they write with what the programs of build/
# write in a directory that holds the shipped reference files.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
what=$1
build=$2
case $build in /*) ;; *) build=$top/$build ;; esac
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo

fail() { echo "check_packages: $*" >&2; exit 1; }

# Keys of a datafile run of quadrats.txt with every default.
keys() { printf '\n\n\n1\nquadrats.txt\n\n\n\n\n'; }

# What the programs of build/ answer: VEGMOUT.txt and vegfit's CSV.
expected=$(mktemp -d)
(cd "$expected" && cp "$top"/data/{SPECDICT,ASSOCTAB,NVCTYPES,HELP}.txt "$top/data/examples/quadrats.txt" . &&
  keys | "$top/build/vegmatch/vegmatch" > /dev/null &&
  "$top/build/vegfit/vegfit" --top 3 quadrats.txt > fits.csv)
[ "$(wc -l < "$expected/VEGMOUT.txt")" -eq $((13 * 7)) ] || fail "build/vegmatch answered $expected/VEGMOUT.txt"

# Runs BIN/vegmatch and BIN/vegfit (through the runner $RUN, if any) in an
# empty directory and compares their files with the expected ones.
check_programs() {
  local bin=$1 suffix=${2:-} work
  work=$(mktemp -d)
  cp "$top/data/examples/quadrats.txt" "$work/"
  (cd "$work" && keys | ${RUN:-} "$bin/vegmatch$suffix" > screen.txt &&
    ${RUN:-} "$bin/vegfit$suffix" --top 3 quadrats.txt > fits.csv &&
    ${RUN:-} "$bin/vegfit$suffix" --version > version.txt &&
    ${RUN:-} "$bin/vegmatch$suffix" --version > vegmatch-version.txt)
  cmp "$expected/VEGMOUT.txt" "$work/VEGMOUT.txt" || fail "$bin/vegmatch$suffix: other answers"
  cmp "$expected/fits.csv" "$work/fits.csv" || fail "$bin/vegfit$suffix: other fits"
  grep -q "^vegfit 1\.0\.0 " "$work/version.txt" || fail "$bin/vegfit$suffix --version: $(cat "$work/version.txt")"
  grep -q "^reference data: NVC tables" "$work/vegmatch-version.txt" ||
    fail "$bin/vegmatch$suffix --version: $(cat "$work/vegmatch-version.txt")"
  [ "$(LC_ALL=C ls "$work" | tr '\n' ' ')" = "VEGMOUT.txt fits.csv quadrats.txt screen.txt vegmatch-version.txt version.txt " ] ||
    fail "$work holds $(ls "$work")"
  echo "$bin: vegmatch$suffix and vegfit$suffix run from a directory without reference files:" \
       "the same answers and fits as build/"
}

case $what in
  prefix)
    prefix=$(mktemp -d)
    cmake --install "$build" --prefix "$prefix" > /dev/null
    for file in bin/vegmatch bin/deckload bin/decksave bin/vegfit share/vegsuite/data/SPECDICT.txt \
                share/vegsuite/data/UNITS.csv share/vegsuite/data/licences/README.md \
                share/doc/vegsuite/LICENSE; do
      [ -e "$prefix/$file" ] || fail "install: $file missing"
    done
    # A moved prefix still finds its own data.
    mv "$prefix" "$prefix.moved"
    check_programs "$prefix.moved/bin"
    ;;
  deb)
    (cd "$build" && cpack -G DEB > /dev/null)
    deb=$(ls "$build"/vegsuite_*_*.deb)
    echo "$(dpkg-deb -f "$deb" Package) $(dpkg-deb -f "$deb" Version)," \
         "depends on: $(dpkg-deb -f "$deb" Depends | grep . || echo 'nothing (linked statically)')"
    $sudo dpkg -i "$deb" > /dev/null
    [ "$(dpkg-query -W -f '${Status}' vegsuite)" = "install ok installed" ] || fail "vegsuite not installed"
    man -w vegmatch > /dev/null || fail "man vegmatch: no page"
    check_programs /usr/bin
    $sudo dpkg -r vegsuite > /dev/null
    [ ! -e /usr/bin/vegmatch ] && [ ! -e /usr/share/vegsuite ] || fail "dpkg -r left files behind"
    echo "$deb: installed, run and removed"
    ;;
  windows)
    cmake -S . -B "$build" --toolchain cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
      -DVEG_TESTS=OFF -DVEG_BENCH=OFF > /dev/null
    cmake --build "$build" -j2 --target vegmatch deckload decksave vegfit > /dev/null
    (cd "$build" && cpack > /dev/null)
    zip=$(ls "$build"/vegsuite-*-windows-x86_64.zip)
    unpacked=$(mktemp -d)
    (cd "$unpacked" && cmake -E tar xf "$zip")
    root=$(ls -d "$unpacked"/vegsuite-*)
    for file in README.txt bin/vegmatch.exe bin/deckload.exe bin/decksave.exe bin/vegfit.exe \
                share/vegsuite/data/ASSOCTAB.txt share/vegsuite/data/licences/README.md; do
      [ -e "$root/$file" ] || fail "$zip: $file missing"
    done
    for program in "$root"/bin/*.exe; do
      x86_64-w64-mingw32-objdump -p "$program" | grep "DLL Name" | grep -qiv "kernel32\|msvcrt" &&
        fail "$program needs a DLL beyond the system's"
    done
    echo "$zip: $(du -k "$zip" | cut -f1) KiB, four static programs"
    if command -v wine > /dev/null; then
      WINEPREFIX=$(mktemp -d)
      export WINEPREFIX WINEDEBUG=-all
      wineboot -i > /dev/null 2>&1 || true
      RUN=wine check_programs "$root/bin" .exe
    else
      echo "no Wine here: the Windows programs were built but not run"
    fi
    ;;
  *) fail "what to check: prefix, deb or windows" ;;
esac
