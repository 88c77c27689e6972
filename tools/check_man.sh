#!/usr/bin/env bash
# Lints the manual pages of docs/man: each page must pass mandoc's lint
# without a warning and be formatted by groff (through man) without one, its
# .TH line must name the page and the project's version, and its NAME line
# must name its program. With a build directory holding vegfit, also checks
# that vegfit.1 shows every option that `vegfit --help` lists.
#
#   tools/check_man.sh [BUILD_DIR]
#
# Needs the Debian packages mandoc, man-db and groff-base.
set -u
cd "$(dirname "$0")/.." || exit 2

for tool in mandoc man groff; do
  if ! command -v "$tool" > /dev/null; then
    echo "check_man: $tool not found (apt-get install mandoc man-db groff-base)" >&2
    exit 2
  fi
done

# The same rendering wherever the check runs: 80 columns, no pager, a
# locale that every system has.
export MANWIDTH=80 MANPAGER=cat PAGER=cat LC_ALL=C
version=$(sed -n 's/^project(vegsuite VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
if [ -z "$version" ]; then
  echo "check_man: no project version in CMakeLists.txt" >&2
  exit 2
fi

shopt -s nullglob
pages=(docs/man/*.1)
if [ ${#pages[@]} -eq 0 ]; then
  echo "check_man: no pages in docs/man" >&2
  exit 1
fi

failed=0
for page in "${pages[@]}"; do
  program=$(basename "$page" .1)
  title=$(echo "$program" | tr '[:lower:]' '[:upper:]')
  problems=()

  lint=$(mandoc -T lint -W warning "$page" 2>&1)
  if [ $? -ne 0 ] || [ -n "$lint" ]; then problems+=("$lint"); fi

  groff_says=$(man --warnings -l "$page" 2>&1 > /dev/null)
  if [ -n "$groff_says" ]; then problems+=("groff: $groff_says"); fi

  th=$(grep -m1 '^\.TH ' "$page")
  case "$th" in
    ".TH $title 1 "*"\"vegsuite $version\""*) ;;
    *) problems+=(".TH line is not '.TH $title 1 DATE \"vegsuite $version\" ...': $th") ;;
  esac

  name_line=$(sed -n '/^\.SH NAME/{n;p;q}' "$page")
  case "$name_line" in
    "$program \\- "*) ;;
    *) problems+=("NAME line does not name $program: $name_line") ;;
  esac

  if [ ${#problems[@]} -eq 0 ]; then
    echo "ok      $page"
  else
    failed=1
    echo "FAILED  $page"
    printf '        %s\n' "${problems[@]}"
  fi
done

# Every option of vegfit's help in its page, with its argument as the help
# writes it, when a built vegfit is given.
if [ $# -ge 1 ]; then
  vegfit="$1/vegfit/vegfit"
  if [ ! -x "$vegfit" ]; then
    echo "check_man: $vegfit not found" >&2
    exit 2
  fi
  page_text=$(MANWIDTH=200 man -l docs/man/vegfit.1 2> /dev/null)
  missing=()
  # An option line of the help opens with its names, "  -o, --output", then
  # its argument, if any: a word with a capital, a digit, "|" or "[".
  while IFS= read -r option; do
    grep -qF -- "$option" <<< "$page_text" || missing+=("'$option'")
  done < <("$vegfit" --help | awk '/^  -/ {
             usage = ""; i = 1
             for (; i <= NF && $i ~ /^-/; i++) usage = usage (usage == "" ? "" : " ") $i
             if (i <= NF && $i ~ /[A-Z0-9|[]/) usage = usage " " $i
             print usage }')
  if [ ${#missing[@]} -eq 0 ]; then
    echo "ok      docs/man/vegfit.1 shows every option of vegfit --help"
  else
    failed=1
    echo "FAILED  docs/man/vegfit.1 lacks options of vegfit --help: ${missing[*]}"
  fi
fi

exit $failed
