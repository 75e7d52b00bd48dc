#!/usr/bin/env bash
# The whole road through Corvanta as a user takes it, under Xvfb with xdotool:
# File > Open reads the bundled model through the file dialog, Meshing > Quad meshes
# every polygon again, Solve > Static calculate runs the solver, which starts the
# viewer, and Postprocess > ShellStressContour starts it again; then File > Save As
# writes the model under a new name, File > Open reads that back and Save As writes
# it once more: the two saved files must be the same byte for byte, with as many
# records of each kind as the bundled model.
#   corvanta_gui_test.sh CORVANTA EXAMPLE_KVX OUTPUT_DIR [toolkit-file-dialog]
# With toolkit-file-dialog, FLTK's own file dialog is used even where the desktop's
# could be loaded (a fresh system has only FLTK's), through FLTK's user options.
# The programs lie side by side (the build's bin folder), so Corvanta finds the
# solver beside itself, and the solver the viewer. Screenshots go to OUTPUT_DIR.
# Exit 77 (skipped) when the X tools are missing. Every wait is bounded.
set -u
here=$(cd "$(dirname "$0")" && pwd)
corvanta=$(realpath "$1") example=$2 out=$(realpath -m "$3") dialogs=${4:-}
for t in xvfb-run xdotool xwd convert; do
  command -v "$t" >/dev/null 2>&1 || { echo "SKIP: $t is not installed"; exit 77; }
done
for p in Trevamic Pelunar; do
  [ -x "$(dirname "$corvanta")/$p" ] || { echo "FAIL: $p is not built beside $corvanta"; exit 1; }
done
mkdir -p "$out"
work=$(mktemp -d /tmp/corvanta_gui_XXXXXX)
trap 'rm -rf "$work"' EXIT
cp "$example" "$work/model.kvx"
cd "$work"
if [ "$dialogs" = toolkit-file-dialog ]; then
  export HOME="$work/home"
  mkdir -p "$HOME/.fltk/fltk.org"
  printf '; FLTK preferences file format 1.0\n; vendor: fltk.org\n; application: fltk\n\n[.]\n\n[./options]\n\nFNFCUsesGTK:0\n' \
    >"$HOME/.fltk/fltk.org/fltk.prefs"
fi

# A display number of its own, not the :99 that the previous test's server may
# still hold while it shuts down (a client of it was once refused).
timeout 240 xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1600x900x24" bash "$here/corvanta_gui_session.sh" \
  "$corvanta" "$work" "$out"
rc=$?
cat "$work/session.txt" 2>/dev/null
[ $rc -eq 0 ] || { echo "FAIL: the session ended with $rc"; exit 1; }
echo "PASS: opened, meshed, solved, viewed, saved and read back unchanged"
