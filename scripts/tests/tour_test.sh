#!/usr/bin/env bash
# The demo tour runs headless and leaves its page, every screenshot its scenario names, and the
# video. Usage: tour_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=$1 build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$src/scripts/demo.d/90-tour" "$build" "$work" >"$work/log" 2>&1 || fail "tour failed: $(tail -5 "$work/log")"
[ -s "$work/index.html" ] || fail "no page"
shots=0
while read -r name; do
  [ -s "$work/tour/$name" ] || fail "missing screenshot $name"
  grep -q "src='tour/$name'" "$work/index.html" || fail "page does not show $name"
  shots=$((shots + 1))
done < <(sed -n 's/^shot \([^ ]*\).*/\1/p' "$src/UI/CarRecorder/tests/scenarios/tour.scn")
[ $shots -gt 0 ] || fail "the scenario has no screenshot"
if command -v ffmpeg >/dev/null 2>&1; then
  [ -s "$work/tour/tour.mp4" ] || fail "no video"
  frames=$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames \
    -of csv=p=0 "$work/tour/tour.mp4")
  [ "$frames" -ge 10 ] || fail "video has only $frames frames"
fi
echo "tour: 1 passed, 0 failed ($shots screenshots)"
