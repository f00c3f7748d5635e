#!/usr/bin/env bash
# Runs the vyxtar tool as a user would: pack, list, unpack, and the failures.
# usage: vyxtar_cli_test.sh WORKDIR VYXTAR [EMULATOR...]
set -u
work=$1; shift
tool=("$@")
fails=0
check() { # check NAME EXPECTED-STATUS COMMAND...
  local name=$1 want=$2; shift 2
  "$@" >"$work/out" 2>"$work/err"; local got=$?
  if [ "$got" != "$want" ]; then
    echo "FAIL $name: status $got, wanted $want"; cat "$work/err"; fails=$((fails + 1))
  else
    echo "ok   $name"
  fi
}
rm -rf "$work"; mkdir -p "$work/src"
cd "$work/src"
printf 'hello\n' > notes.txt
head -c 100000 /dev/zero > zeros.bin

check help           0 "${tool[@]}" --help
check no-args        2 "${tool[@]}"
check pack-plain     0 "${tool[@]}" -c "$work/a.vyx" notes.txt zeros.bin
check list           0 "${tool[@]}" -t "$work/a.vyx"
printf 'notes.txt 6\nzeros.bin 100000\n' | cmp -s - "$work/out" || { echo "FAIL listing: $(cat "$work/out")"; fails=$((fails + 1)); }
check pack-zip       0 "${tool[@]}" -z "$work/z.vyx" notes.txt zeros.bin
check list-zip       0 "${tool[@]}" -t "$work/z.vyx"
grep -q '^zeros.bin ' "$work/out" || { echo "FAIL zip listing"; fails=$((fails + 1)); }
check unpack         0 "${tool[@]}" -x "$work/z.vyx" "$work/dest"
cmp -s zeros.bin "$work/dest/zeros.bin" || { echo "FAIL unpacked data differ"; fails=$((fails + 1)); }
check missing-file   1 "${tool[@]}" -c "$work/b.vyx" nothere
grep -q 'vyxtar:' "$work/err" || { echo "FAIL no one-line message"; fails=$((fails + 1)); }
printf 'garbage' > "$work/bad.vyx"
check list-garbage   1 "${tool[@]}" -t "$work/bad.vyx"
check unpack-garbage 1 "${tool[@]}" -x "$work/bad.vyx" "$work/dest2"
[ ! -e "$work/dest2" ] || { echo "FAIL destination created for a bad archive"; fails=$((fails + 1)); }
check bad-mode       2 "${tool[@]}" -q "$work/a.vyx"
rm -rf "$work"
echo "$((16 - fails)) passed, $fails failed"
[ "$fails" = 0 ]
