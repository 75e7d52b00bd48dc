#!/usr/bin/env bash
# Runs the solver on the verification set in examples/verification and prints,
# per model and mesh, the computed value, the published reference and their ratio.
#   scripts/verification.sh [--solver TREVAMIC] [--only PROBLEM[,PROBLEM...]]
#                           [--mesh MESH] [--tolerance T]
# Without --solver it builds the solver first (in build/). --only and --mesh
# select rows (e.g. --only ss_plate,clamped_plate --mesh 16x16); with
# --tolerance the script fails when a selected ratio is further than T from 1.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
set_dir="$root/examples/verification"
solver="" only="" mesh="" tolerance=""
while [ $# -gt 0 ]; do
  case $1 in
    --solver) solver=$2; shift 2 ;;
    --only) only=",$2,"; shift 2 ;;
    --mesh) mesh=$2; shift 2 ;;
    --tolerance) tolerance=$2; shift 2 ;;
    *) echo "usage: $0 [--solver TREVAMIC] [--only PROBLEM[,...]] [--mesh MESH] [--tolerance T]" >&2
       exit 2 ;;
  esac
done
if [ -z "$solver" ]; then
  cmake -S "$root" -B "$root/build" >/dev/null
  cmake --build "$root/build" -j 2 --target Trevamic >/dev/null
  solver="$root/build/bin/Trevamic"
fi
# Each run happens in its own folder.
solver=$(cd "$(dirname "$solver")" && pwd)/$(basename "$solver")

# problem -> reference value, from "problem | quantity | reference | source" lines.
declare -A reference
while IFS='|' read -r problem _ value _; do
  problem=$(echo "$problem" | xargs)
  [ -z "$problem" ] || [ "${problem:0:1}" = "#" ] && continue
  reference[$problem]=$(echo "$value" | xargs)
done <"$set_dir/references.txt"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
printf '%-28s %-7s %13s %13s %8s\n' model mesh computed reference ratio
while read -r problem case_mesh file probe; do
  [ "${problem:0:1}" = "#" ] && continue
  [ -n "$only" ] && [[ $only != *",$problem,"* ]] && continue
  [ -n "$mesh" ] && [ "$mesh" != "$case_mesh" ] && continue
  ref=${reference[$problem]:?"no reference for $problem in references.txt"}
  run="$scratch/$problem-$case_mesh"
  mkdir -p "$run"
  cp "$set_dir/$file" "$run/shell_fem_solving.txt"
  if ! (cd "$run" && "$solver" </dev/null >console.txt 2>&1); then
    printf '%-28s %-7s %13s\n' "$problem" "$case_mesh" "solver failed"
    status=1
    continue
  fi
  # The probe "node:dof:factor,..." summed over Node_Dis.txt's lines "node: dx dy dz rx ry rz".
  line=$(awk -v probe="$probe" -v ref="$ref" -v tol="$tolerance" '
    BEGIN { n = split(probe, terms, ","); for (t = 1; t <= n; ++t) { split(terms[t], p, ":"); want[p[1] ":"] = 1 } }
    ($1 in want) { for (d = 0; d < 6; ++d) u[$1, d] = $(d + 2) }
    END {
      for (t = 1; t <= n; ++t) { split(terms[t], p, ":"); value += p[3] * u[p[1] ":", p[2]] }
      ratio = value / ref
      bad = (tol != "" && (ratio - 1 > tol || 1 - ratio > tol))
      printf "%13.6g %13.6g %8.4f%s\n", value, ref, ratio, bad ? "  outside the tolerance" : ""
    }' "$run/Node_Dis.txt")
  printf '%-28s %-7s %s\n' "$problem" "$case_mesh" "$line"
  [[ $line == *outside* ]] && status=1
done <"$set_dir/cases.txt"
exit $status
