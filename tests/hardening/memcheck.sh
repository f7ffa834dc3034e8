#!/usr/bin/env bash
# Valgrind memcheck of a short headless run: memcheck.sh ORINTHAL
#
# Three frames at 128x96 with the text on, the defaults otherwise. Fails on
# any memory error and on any definite leak, except the blocks that system
# libraries keep for the life of the process (valgrind.supp, entry by
# entry). --keep-debuginfo keeps the GL driver's symbols after EGL unloads
# it at exit, so its blocks are named by their library.
set -uo pipefail
saver=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
# Valgrind does not follow an exec: name the heap setting, so the program
# does not start itself once more with huge pages (valgrind's own allocator
# serves the heap either way).
export GLIBC_TUNABLES=glibc.malloc.hugetlb=0

valgrind --tool=memcheck --keep-debuginfo=yes --leak-check=full --show-leak-kinds=definite \
  --errors-for-leak-kinds=definite --num-callers=40 --suppressions="$here/valgrind.supp" \
  --error-exitcode=99 --log-file="$work/memcheck.log" \
  "$saver" --snapshot "$work/frame.png" --frames 3 --size 128x96 --seed 1 --text
status=$?
grep -E 'ERROR SUMMARY|definitely lost|suppressed:' "$work/memcheck.log" | sed 's/^==[0-9]*== */memcheck: /'
if [[ $status -ne 0 ]]; then
  echo "FAIL: memcheck exit status $status" >&2
  cat "$work/memcheck.log" >&2
  exit 1
fi
