#!/usr/bin/env bash
# Runs the solver program unattended on the roof example's solving file and checks
# its exit code, the viewer's input file and the balance of loads and reactions.
#   solve_roof_example.sh TREVAMIC SOLVING_FILE
set -euo pipefail
trevamic=$1 solving=$2
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$solving" "$folder/shell_fem_solving.txt"
cd "$folder"
"$trevamic" </dev/null >console.txt 2>messages.txt || { cat console.txt messages.txt; exit 1; }
[ -s Shell_AverageStrs.txt ] || { echo "no Shell_AverageStrs.txt"; exit 1; }
tail -n 1 Reactions.txt
grep -q "^Equilibrium is met" Reactions.txt || { echo "loads and reactions do not balance"; exit 1; }
