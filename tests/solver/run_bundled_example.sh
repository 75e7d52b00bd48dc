#!/usr/bin/env bash
# Runs the solver program unattended on the bundled simply supported plate and
# checks the exit code, the result files and the centre deflection (node 144 of
# the 16 × 16 mesh) against the Kirchhoff value -2.11244e-4.
set -euo pipefail
trevamic=$1
example=$2
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$example" "$folder/shell_fem_solving.txt"
cd "$folder"
"$trevamic" </dev/null >console.txt 2>messages.txt
for f in structure.dxf Node_Dis.txt deformation.dxf Elem_Node_Stress.txt Elem_Node_AverageStress.txt \
         Elem_Node_Strs_InContourFormat.txt Elem_Node_AverageStrs_InContourFormat.txt Shell_AverageStrs.txt \
         Reactions.txt Shell_Results.vtu; do
  [ -s "$f" ] || { echo "missing result file $f"; exit 1; }
done
grep -q "Pelunar" messages.txt || { echo "no warning about the missing viewer"; exit 1; }
awk '$1 == "144:" { w = $4; found = 1 }
     END { if (!found) { print "node 144 not in Node_Dis.txt"; exit 1 }
           print "centre deflection", w
           exit (w / -2.11244e-4 > 0.99 && w / -2.11244e-4 < 1.01) ? 0 : 1 }' Node_Dis.txt
