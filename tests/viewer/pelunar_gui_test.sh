#!/usr/bin/env bash
# Pelunar's tests as a user meets it, in a temporary folder.
#   pelunar_gui_test.sh MODE PELUNAR WRITE_EXAMPLE SCREENSHOT_CHECK OUTPUT_DIR [TREVAMIC
#                       SOLVING_FILE SCREENSHOT_COMPARE]
# MODE screenshot:   under Xvfb, with a result file: the contour and legend are drawn
#                    (the screenshot is kept as OUTPUT_DIR/pelunar-se-contour.png).
# MODE missing-file: under Xvfb, without "Shell_AverageStrs.txt": the warning appears,
#                    OK ends the program with exit code 1.
# MODE no-display:   without DISPLAY: a message on standard error and exit code 1.
# MODE teaching:     under Xvfb, on the bundled plate solved by TREVAMIC: the top, bending
#                    and membrane contours and the deformed shape, chosen with the keyboard
#                    through the menus (kept as OUTPUT_DIR/pelunar-<name>.png). Pure bending:
#                    the bending contour is the top one, the membrane a single band.
# Exit 77 (skipped) when the X tools are missing. Every wait is bounded.
set -u
mode=$1 pelunar=$2 write_example=$3 check=$4 out=$5
trevamic=${6:-} solving=${7:-} compare=${8:-}
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
  timeout 60 xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x800x24" bash -c '
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
  timeout 90 xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x800x24" bash -c '
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
teaching)
  need xvfb-run xwd convert xdotool
  cp "$solving" shell_fem_solving.txt
  "$trevamic" </dev/null >solver.txt 2>&1 || { cat solver.txt; echo "FAIL: the solver failed"; exit 1; }
  timeout 90 xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x800x24" bash -c '
    "$1" & p=$!
    for i in $(seq 1 50); do
      sleep 0.2
      w=$(xdotool search --pid $p 2>/dev/null | tail -n 1)
      [ -n "$w" ] && break
    done
    [ -n "$w" ] || { echo "FAIL: no window"; kill $p; exit 1; }
    sleep 1
    xdotool windowfocus --sync $w 2>/dev/null
    eval "$(xdotool getwindowgeometry --shell "$w")"
    echo "$X $Y $WIDTH $HEIGHT" > geometry.txt
    xdotool mousemove $((X + WIDTH - 20)) $((Y + HEIGHT - 60)) # off the model: no probe
    shot() { sleep 0.8; xwd -root -silent | convert xwd:- "$1.ppm"; }
    shot top
    xdotool key alt+c; sleep 0.4; xdotool key n; shot bending
    xdotool key alt+c; sleep 0.4; xdotool key m; shot membrane
    xdotool key alt+c; sleep 0.4; xdotool key t
    xdotool key alt+v; sleep 0.4; xdotool key d; shot deformed
    kill $p 2>/dev/null; wait $p 2>/dev/null; true' _ "$pelunar"
  [ -f deformed.ppm ] || { echo "FAIL: the screenshots were not taken"; exit 1; }
  for name in top bending membrane deformed; do
    convert $name.ppm "$out/pelunar-$name.png" 2>/dev/null
  done
  echo "screenshots: $out/pelunar-{top,bending,membrane,deformed}.png"
  read -r X Y WIDTH HEIGHT < geometry.txt
  # The model's part of the drawing area: below the menu bar, above the status line,
  # left of the legend.
  area="$X $((Y + 30)) $((X + WIDTH - 175)) $((Y + HEIGHT - 25))"
  same=$("$compare" differ top.ppm bending.ppm $area)
  read -r membraneColours membraneGrey <<<"$("$compare" colours membrane.ppm $area)"
  read -r topColours topGrey <<<"$("$compare" colours top.ppm $area)"
  moved=$("$compare" differ top.ppm deformed.ppm $area)
  read -r deformedColours deformedGrey <<<"$("$compare" colours deformed.ppm $area)"
  echo "top: $topColours bands; bending differs from top in $same of the pixels;" \
       "membrane: $membraneColours band(s); deformed: differs in $moved, $deformedGrey grey pixels"
  awk -v s="$same" 'BEGIN { exit !(s < 0.002) }' || { echo "FAIL: bending is not the top contour"; exit 1; }
  [ "$topColours" -ge 6 ] || { echo "FAIL: the top contour has too few bands"; exit 1; }
  [ "$membraneColours" -le 1 ] || { echo "FAIL: the membrane of pure bending is not one band"; exit 1; }
  awk -v m="$moved" 'BEGIN { exit !(m > 0.01) }' || { echo "FAIL: the deformed shape looks undeformed"; exit 1; }
  [ "$deformedGrey" -ge 50 ] || { echo "FAIL: no undeformed mesh drawn"; exit 1; }
  [ "$topGrey" -eq 0 ] || { echo "FAIL: grey undeformed lines without the deformed shape"; exit 1; }
  echo "PASS: membrane, bending and deformed shape of the plate"
  ;;
*)
  echo "unknown mode $mode"; exit 2;;
esac
