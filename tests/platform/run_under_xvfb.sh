#!/usr/bin/env bash
# run_under_xvfb.sh PROGRAM [ARGS...]: runs a test program on a virtual display,
# bounded in time; exit 77 (skipped) when xvfb-run is not installed.
command -v xvfb-run >/dev/null 2>&1 || { echo "SKIP: xvfb-run is not installed"; exit 77; }
# Sanitizer builds: the font and X libraries keep caches that LeakSanitizer reports.
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")" && pwd)/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
exec timeout 100 xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x800x24" "$@"
