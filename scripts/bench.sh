#!/usr/bin/env bash
# make bench, inside the Wine session: both architectures' figures. Where
# Wine's 32-bit loader runs under qemu-i386, every i686 time and memory peak
# would be the emulator's, not the program's: the i686 half gives the exe
# sizes alone there.
#   scripts/bench.sh BUILD [RUNS]
set -euo pipefail
build=$1
runs=${2:-20}
for a in i686 x86_64; do
  if [ $a = i686 ] && [ "$TIVRELON_I386" != native ]; then
    case $TIVRELON_I386 in
      emulated) echo "== i686 (the product): exe sizes only; its 32-bit code runs under qemu-i386 here, where a start-up, memory or Apply figure would be the emulator's ==" ;;
      *) echo "== i686 (the product): exe sizes only; not run, $TIVRELON_I386 ==" ;;
    esac
    for exe in bench/floor0.exe bench/floor1.exe Tivrelon.exe; do
      stat -c '%n %s' "$build/i686/$exe"
    done | awk '{ if (!f0) f0 = $2; n = split($1, p, "/"); printf "%-16s %12d B %7.2f x F0\n", p[n], $2, $2 / f0 }'
    continue
  fi
  echo "== $a (Wine, medians of $runs) =="
  wine "$build/$a/bench/bench_runner.exe" "$runs"
done
