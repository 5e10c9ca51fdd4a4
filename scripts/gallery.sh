#!/usr/bin/env bash
# Draws the README's gallery into docs/gallery with the kestra program.
#   scripts/gallery.sh [KESTRA]          regenerate the pictures
#   scripts/gallery.sh --check [KESTRA]  draw them into a temporary folder and
#                                        fail unless the committed pictures are
#                                        byte for byte the same and the README
#                                        shows each command
# KESTRA defaults to build/kestra. The inputs in docs/gallery/data were
# written by pandas 1.5 (revenue.html, DataFrame.to_html) and openpyxl 3.0
# (visitors.xlsx).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
check=false
if [[ "${1:-}" == "--check" ]]; then check=true; shift; fi
kestra="$(realpath "${1:-$root/build/kestra}")"

quarters="--values '12.5 17 9.5 21; 8 11.5 14 16.5; 5.5 7 10 12' --names North,South,East"
quarters+=" --labels Q1,Q2,Q3,Q4 --caption-x Quarter --caption-y 'Sales, kEUR' --size 400x250"
# Picture name, then the arguments of the command that draws it.
gallery=(
  "bars.png|diag $quarters"
  "bars.svg|diag $quarters"
  "lines.png|diag $quarters --kind lines --widths 2"
  "markers.png|diag $quarters --kind markers --no-value-labels"
  "fills.png|diag --values '5 6; 6 7; 7 8; 8 9; 9 10; 10 11; 11 12' --styles 1,2,3,4,5,6,7 --no-values --size 400x250"
  "line-styles.png|diag --values '1 3 2 4; 2 4 3 5; 3 5 4 6; 4 6 5 7; 5 7 6 8' --kind lines --styles solid,dot,dash,dashdot,dashdotdot --no-grid --size 400x250"
  "plot.png|plot 'y=sin(x)*2' --x -7:7 --y -3:3 --arrows --zero --frame --size 400x250"
  "plot-sideways.png|plot 'x=pow(y)(2)/4' --x -1:7 --y -5:5 --arrows --zero --size 400x250"
  "html.png|diag docs/gallery/data/revenue.html --caption-x Year --caption-y 'EUR m' --size 400x250"
  "xlsx.png|diag docs/gallery/data/visitors.xlsx --kind markers --caption-y Visitors --decimals 0 --size 400x250"
)

out="$root/docs/gallery"
if $check; then
  out="$(mktemp -d)"
  trap 'rm -rf "$out"' EXIT
fi

cd "$root"
status=0
for entry in "${gallery[@]}"; do
  name="${entry%%|*}"
  arguments="${entry#*|}"
  eval "\"$kestra\" $arguments -o \"$out/$name\""
  if $check; then
    if ! cmp -s "$out/$name" "docs/gallery/$name"; then
      echo "gallery: docs/gallery/$name is not current: run scripts/gallery.sh" >&2
      status=1
    fi
    if ! grep -qF -- "kestra $arguments -o docs/gallery/$name" README.md; then
      echo "gallery: README.md does not show the command of $name" >&2
      status=1
    fi
  fi
done
exit $status
