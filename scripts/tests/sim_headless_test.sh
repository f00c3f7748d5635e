#!/usr/bin/env bash
# scripts/sim --headless starts the three programs, plays a scenario, stops, and leaves nothing
# behind on the host: no System V object, nothing new in /dev/shm, no FIFO or marker in the root.
# A second run with one program killed must say which one ended and still clean up.
# Usage: sim_headless_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=$1 build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$(sed -n 's/^RECORDER_ROOT:[A-Z]*=//p' "$build/CMakeCache.txt")

host_state() {
  ipcs -q -m -s | awk 'NF && $1 ~ /^0x/ {print $1, $2}'
  ls -1 /dev/shm
  find "$root/dev" "$root/tmp" -maxdepth 1 \( -type p -o -name 'ready2start_ui' -o -name 'ui_running' \) 2>/dev/null
}
fail() { echo "FAIL: $*"; exit 1; }

host_state >"$work/before"
printf 'wait 1500\nshot %s/shot.png\nwait 200\n' "$work" >"$work/ok.scn"
"$src/scripts/sim" --build "$build" --headless --scenario "$work/ok.scn" --out "$work/out" 2>"$work/run1.err" \
  || fail "clean run exited $? ($(cat "$work/run1.err"))"
grep -q "recorder_sim finished" "$work/run1.err" || fail "no finish line: $(cat "$work/run1.err")"
[ -s "$work/shot.png" ] || fail "no screenshot taken"
grep -q "display_sink: first area" "$work/out/display_sink.log" || fail "recorder_ui drew nothing"
host_state >"$work/after"
diff "$work/before" "$work/after" || fail "objects left on the host"

# The user interface dies: the script names it, stops the others, and still leaves nothing.
printf 'wait 20000\n' >"$work/long.scn"
"$src/scripts/sim" --build "$build" --headless --scenario "$work/long.scn" --out "$work/out2" 2>"$work/run2.err" &
runner=$!
for _ in $(seq 100); do grep -q "first area" "$work/out2/display_sink.log" 2>/dev/null && break; sleep 0.1; done
pkill -KILL -f "^$build/UI/CarRecorder/recorder_ui\$" || fail "recorder_ui was not running"
status=0
wait "$runner" || status=$?
[ $status -ne 0 ] || fail "a killed recorder_ui was reported as success"
grep -q "recorder_ui was killed by signal 9" "$work/run2.err" || fail "death not reported: $(cat "$work/run2.err")"
pgrep -f "^$build/tools/(recorder_sim|display_sink)/" >/dev/null && fail "stand-ins left running"
host_state >"$work/after2"
diff "$work/before" "$work/after2" || fail "objects left on the host after a crash"
echo "sim headless: 2 passed, 0 failed"
