#!/bin/sh
# Runs the skin host inside a Wine virtual desktop on an X display (a fresh
# Xvfb when none is set).  Explorer reports no exit code, so the verdict is
# the last line of the result file the host writes.
#   run-gui-test.sh WINE_RUN HOST_EXE DLL SKIN OUT_DIR
set -u
if [ "$#" -ne 5 ]; then
  echo "usage: $0 WINE_RUN HOST_EXE DLL SKIN OUT_DIR" >&2
  exit 2
fi
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" sh "$0" "$@"
fi
wine_run=$1 host=$2 dll=$3 skin=$4 out=$5
winpath() { printf 'Z:%s' "$1" | tr '/' '\\'; }

mkdir -p "$out"
rm -f "$out"/result.txt "$out"/*.png
"$wine_run" explorer "/desktop=morvane-skin-test,1280x1024" \
  "$(winpath "$host")" "$(winpath "$dll")" "$(winpath "$skin")" "$(winpath "$out")"
if [ ! -f "$out/result.txt" ]; then
  echo "no result from the skin host" >&2
  exit 1
fi
[ "$(tail -n 1 "$out/result.txt")" = "PASS" ]
