#!/usr/bin/env bash
# Runs the vyxtar tool as a user would: pack, list, unpack, and the failures.
# usage: vyxtar_cli_test.sh WORKDIR VYXTAR [EMULATOR...]
set -u
work=$1; shift
tool=("$@")
fails=0
checks=0
check() { # check NAME EXPECTED-STATUS COMMAND...
  local name=$1 want=$2; shift 2
  checks=$((checks + 1))
  "$@" >"$work/out" 2>"$work/err"; local got=$?
  if [ "$got" != "$want" ]; then
    echo "FAIL $name: status $got, wanted $want"; cat "$work/err"; fails=$((fails + 1))
  else
    echo "ok   $name"
  fi
}
expect() { # expect WHAT CONDITION...
  checks=$((checks + 1))
  if "${@:2}"; then echo "ok   $1"; else echo "FAIL $1"; sed 's/^/  err: /' "$work/err"; fails=$((fails + 1)); fi
}
rm -rf "$work"; mkdir -p "$work/src"
cd "$work/src"
printf 'hello\n' > notes.txt
head -c 100000 /dev/zero > zeros.bin

check help           0 "${tool[@]}" --help
check no-args        2 "${tool[@]}"
check pack-plain     0 "${tool[@]}" -c "$work/a.vyx" notes.txt zeros.bin
expect quiet-success [ ! -s "$work/out" ] && [ ! -s "$work/err" ]
check list           0 "${tool[@]}" -t "$work/a.vyx"
printf '# name and size in bytes (stored uncompressed)\nnotes.txt 6\nzeros.bin 100000\n' | cmp -s - "$work/out" ||
  { echo "FAIL listing: $(cat "$work/out")"; fails=$((fails + 1)); }
check pack-zip       0 "${tool[@]}" -z "$work/z.vyx" notes.txt zeros.bin
check list-zip       0 "${tool[@]}" -t "$work/z.vyx"
expect zip-listing-says-compressed grep -q '^# name and compressed size' "$work/out"
expect zip-listing-entry grep -q '^zeros.bin [0-9]*$' "$work/out"
check unpack         0 "${tool[@]}" -x "$work/z.vyx" "$work/dest"
cmp -s zeros.bin "$work/dest/zeros.bin" || { echo "FAIL unpacked data differ"; fails=$((fails + 1)); }
check verbose        0 "${tool[@]}" -v -x "$work/z.vyx" "$work/dest"
expect verbose-shows-steps grep -q 'untar(type:zip)' "$work/err"

# An archive of no files, both ways.
check pack-empty     0 "${tool[@]}" -c "$work/e.vyx"
expect empty-is-21-bytes [ "$(wc -c < "$work/e.vyx")" = 21 ]
check list-empty     0 "${tool[@]}" -t "$work/e.vyx"
expect empty-listing [ "$(grep -vc '^#' "$work/out")" = 0 ]
check unpack-empty   0 "${tool[@]}" -x "$work/e.vyx" "$work/edest"
expect empty-dir [ -d "$work/edest" ] && [ -z "$(ls -A "$work/edest")" ]
check pack-empty-zip 0 "${tool[@]}" -z "$work/ez.vyx"

# Failures: one message, no partial archive, an existing archive kept.
check missing-file   1 "${tool[@]}" -c "$work/b.vyx" notes.txt nothere
expect failure-names-the-file grep -q 'nothere' "$work/err"
expect one-line-message grep -q '^vyxtar: packing' "$work/err"
expect no-partial-archive [ -z "$(ls "$work" | grep '^b.vyx')" ]
cp "$work/a.vyx" "$work/a.copy"
check overwrite-fails 1 "${tool[@]}" -z "$work/a.vyx" nothere
expect old-archive-kept cmp -s "$work/a.vyx" "$work/a.copy"
printf 'garbage' > "$work/bad.vyx"
check list-garbage   1 "${tool[@]}" -t "$work/bad.vyx"
check unpack-garbage 1 "${tool[@]}" -x "$work/bad.vyx" "$work/dest2"
[ ! -e "$work/dest2" ] || { echo "FAIL destination created for a bad archive"; fails=$((fails + 1)); }

# Usage errors name what is wrong.
check bad-mode       2 "${tool[@]}" -q "$work/a.vyx"
expect names-the-option grep -q "unknown option '-q'" "$work/err"
check bad-long       2 "${tool[@]}" --frobnicate -t "$work/a.vyx"
expect names-the-long-option grep -q "unknown option '--frobnicate'" "$work/err"
check two-modes      2 "${tool[@]}" -ct "$work/a.vyx"
check x-without-dir  2 "${tool[@]}" -x "$work/a.vyx"
rm -rf "$work"
echo "$((checks - fails)) passed, $fails failed"
[ "$fails" = 0 ]
