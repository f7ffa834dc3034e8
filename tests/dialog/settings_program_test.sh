#!/usr/bin/env bash
# The saver program loads no GTK: its --configure runs orinthal-settings from
# its own directory, and says so in one line when that cannot be done.
# Usage: settings_program_test.sh ORINTHAL
set -euo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

libraries=$(ldd "$program") || fail "ldd $program"
if grep -E 'lib(gtk|gdk)-3' <<<"$libraries"; then
    fail "the saver program loads GTK"
fi

# A copy of the program with no dialog beside it, then with one that cannot run.
cp "$program" "$work/orinthal"
for case in missing not-executable; do
    if [[ $case == not-executable ]]; then
        printf '#!/bin/sh\nexit 0\n' >"$work/orinthal-settings"
        chmod 0644 "$work/orinthal-settings"
    fi
    status=0
    HOME=$work XDG_CONFIG_HOME=$work/config "$work/orinthal" --configure 2>"$work/err" >/dev/null || status=$?
    [[ $status -eq 1 ]] || fail "$case: exit status $status, expected 1"
    [[ $(wc -l <"$work/err") -eq 1 ]] || { cat "$work/err"; fail "$case: expected one line on stderr"; }
    grep -q "^orinthal: cannot open the settings dialog: cannot run $work/orinthal-settings" "$work/err" ||
        { cat "$work/err"; fail "$case: unclear message"; }
done
echo PASS
