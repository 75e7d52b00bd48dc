#!/usr/bin/env bash
# Installs what is missing, builds, and runs a bundled example in a scratch folder.
#   scripts/run-example.sh            with a display: the pre-processor opens beside a
#                                     copy of the hipped roof model and the solver and
#                                     viewer; without one: the solver on the plate
#   scripts/run-example.sh NAME       the solver on examples/NAME (simply_supported_plate,
#                                     cantilever, four_panel_plate, hipped_roof)
# With a display, the contour viewer opens on the results when the solver ends.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
preprocessor_example=hipped_roof
if [ $# -eq 0 ] && [ -n "${DISPLAY:-}" ]; then
  example=
else
  example=${1:-simply_supported_plate}
  [ -f "$root/examples/$example/shell_fem_solving.txt" ] || {
    echo "No example '$example'; choose one of: $(cd "$root/examples" && ls -d */ | grep -v -e generator -e verification | tr -d / | tr '\n' ' ')" >&2
    exit 2
  }
fi
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" >/dev/null
cmake --build "$root/build" -j "$(nproc)"

if [ -z "$example" ]; then
  # The programs find each other in the current folder, as they expect.
  run="$root/run/corvanta"
  rm -rf "$run"
  mkdir -p "$run"
  cp "$root/examples/$preprocessor_example/$preprocessor_example.kvx" "$run/"
  cp "$root/build/bin/Trevamic" "$root/build/bin/Pelunar" "$run/"
  echo "Corvanta runs in $run; File > Open... reads $preprocessor_example.kvx there,"
  echo "Meshing > Quad... meshes it, Solve > Static calculate solves it and shows the contour."
  cd "$run"
  exec "$root/build/bin/Corvanta"
fi

run="$root/run/$example"
rm -rf "$run"
mkdir -p "$run"
cp "$root/examples/$example/shell_fem_solving.txt" "$run/"
# The solver starts the viewer from its own folder, as the programs expect.
if [ -n "${DISPLAY:-}" ] && [ -x "$root/build/bin/Pelunar" ]; then
  cp "$root/build/bin/Pelunar" "$run/"
fi
cd "$run"
status=0
"$root/build/bin/Trevamic" </dev/null || status=$?
echo
echo "Results of '$example' are in $run:"
ls "$run"
if [ ! -x "$run/Pelunar" ]; then
  echo "(No display, so the viewer was not placed beside the results; on a desktop run"
  echo " $root/build/bin/Pelunar in that folder to see the stress contours.)"
fi
exit $status
