#!/usr/bin/env bash
# Pelunar's tests as a user meets it, in a temporary folder.
#   pelunar_gui_test.sh MODE PELUNAR WRITE_EXAMPLE SCREENSHOT_CHECK OUTPUT_DIR
# MODE screenshot:   under Xvfb, with a result file: the contour and legend are drawn
#                    (the screenshot is kept as OUTPUT_DIR/pelunar-se-contour.png).
# MODE missing-file: under Xvfb, without "Shell_AverageStrs.txt": the warning appears,
#                    OK ends the program with exit code 1.
# MODE no-display:   without DISPLAY: a message on standard error and exit code 1.
# Exit 77 (skipped) when the X tools are missing. Every wait is bounded.
set -u
mode=$1 pelunar=$2 write_example=$3 check=$4 out=$5
mkdir -p "$out"
work=$(mktemp -d /tmp/pelunar_gui_XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"

need() {
  for t in "$@"; do
    command -v "$t" >/dev/null 2>&1 || { echo "SKIP: $t is not installed"; exit 77; }
  done
}

case $mode in
no-display)
  "$write_example" || exit 1
  env -u DISPLAY -u WAYLAND_DISPLAY timeout 20 "$pelunar" >stdout.txt 2>stderr.txt
  rc=$?
  cat stderr.txt
  [ $rc -eq 1 ] || { echo "FAIL: exit code $rc, expected 1"; exit 1; }
  grep -qi "display" stderr.txt || { echo "FAIL: no message about the display"; exit 1; }
  echo "PASS: no display gives a message and exit code 1"
  ;;
missing-file)
  need xvfb-run xdotool
  timeout 60 xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    "$1" 2>stderr.txt & p=$!
    for i in $(seq 1 50); do
      sleep 0.2
      # The message box is the only window; point at it so that it has the keyboard.
      w=$(xdotool search --name "Warning!" 2>/dev/null | head -1)
      [ -n "$w" ] && break
    done
    [ -n "$w" ] || { echo "FAIL: no warning window"; kill $p; exit 1; }
    eval "$(xdotool getwindowgeometry --shell "$w")"
    xdotool mousemove $((X + 20)) $((Y + 20)); sleep 0.3; xdotool key Return
    for i in $(seq 1 50); do kill -0 $p 2>/dev/null || break; sleep 0.2; done
    if kill -0 $p 2>/dev/null; then echo "FAIL: still running after OK"; kill $p; exit 1; fi
    wait $p; echo "exit code $?" > rc.txt' _ "$pelunar"
  rc=$?
  cat rc.txt 2>/dev/null
  [ $rc -eq 0 ] || { echo "FAIL: the test session failed ($rc)"; exit 1; }
  grep -q "exit code 1" rc.txt || { echo "FAIL: expected exit code 1"; exit 1; }
  echo "PASS: missing file gives the warning and exit code 1"
  ;;
screenshot)
  need xvfb-run xwd convert
  "$write_example" || exit 1
  timeout 90 xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    "$1" & p=$!
    ok=1
    for i in $(seq 1 20); do
      sleep 1
      kill -0 $p 2>/dev/null || { echo "FAIL: Pelunar ended early"; exit 1; }
      xwd -root -silent | convert xwd:- screen.ppm 2>/dev/null || continue
      if "$2" screen.ppm > check.txt; then ok=0; break; fi
    done
    convert screen.ppm screen.png 2>/dev/null
    kill $p 2>/dev/null; wait $p 2>/dev/null
    exit $ok' _ "$pelunar" "$check"
  rc=$?
  cat check.txt 2>/dev/null
  [ -f screen.png ] && cp screen.png "$out/pelunar-se-contour.png" && echo "screenshot: $out/pelunar-se-contour.png"
  [ $rc -eq 0 ] || { echo "FAIL: contour or legend not found on the screen"; exit 1; }
  echo "PASS: contour and legend drawn"
  ;;
*)
  echo "unknown mode $mode"; exit 2;;
esac
