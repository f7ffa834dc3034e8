#!/usr/bin/env bash
# The install rules and the .deb: where each file lands, the package's
# control fields and dependencies, and that the unpacked program runs.
# Usage: package_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# --- cmake --install into a scratch prefix
cmake --install "$build" --prefix "$work/prefix" >"$work/install.log" || { cat "$work/install.log"; fail "install"; }
p=$work/prefix
[[ -x $p/libexec/xscreensaver/orinthal && -f $p/libexec/xscreensaver/orinthal ]] || fail "no program in libexec/xscreensaver"
[[ -x $p/libexec/xscreensaver/orinthal-settings && -f $p/libexec/xscreensaver/orinthal-settings ]] ||
    fail "no settings program beside the saver"
cmp -s "$p/share/xscreensaver/config/orinthal.xml" "$source/shell/orinthal.xml" || fail "config file not installed"
cmp -s "$p/share/applications/orinthal-settings.desktop" "$source/shell/orinthal-settings.desktop" ||
    fail "desktop entry not installed"
for doc in README.md CREDITS.md; do
    [[ -f $p/share/doc/orinthal/$doc ]] || fail "$doc not installed"
done
[[ $(readlink "$p/bin/orinthal") == ../libexec/xscreensaver/orinthal && -x $p/bin/orinthal ]] ||
    fail "bin/orinthal does not lead to the program"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$p/share/applications/orinthal-settings.desktop" || fail "desktop entry invalid"
fi
grep -qx 'Exec=orinthal --configure' "$p/share/applications/orinthal-settings.desktop" ||
    fail "desktop entry does not open the dialog"

# --- cpack -G DEB
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack"; }
debs=("$work"/package/*.deb)
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || fail "expected one .deb, found: ${debs[*]}"
deb=${debs[0]}

field() { dpkg-deb --field "$deb" "$1"; }
[[ $(field Package) == orinthal ]] || fail "Package: $(field Package)"
[[ $(field Version) == 1.0.0 ]] || fail "Version: $(field Version)"
[[ $(field Architecture) == "$(dpkg --print-architecture)" ]] || fail "Architecture: $(field Architecture)"
[[ -n $(field Maintainer) && -n $(field Description) ]] || fail "no Maintainer or Description"
[[ $(field Recommends) == *xscreensaver* ]] || fail "Recommends: $(field Recommends)"

# The dependencies name the shared libraries the program loads, and every
# alternative group can be satisfied on this (Debian) system.
depends=$(field Depends)
for library in libc6 libgtk-3-0 libx11-6 libjpeg62-turbo libgif7 libfreetype6 libpng16-16 libegl1; do
    [[ $depends == *"$library"* ]] || fail "Depends lacks $library: $depends"
done
IFS=',' read -ra groups <<<"$depends"
for group in "${groups[@]}"; do
    satisfied=no
    IFS='|' read -ra alternatives <<<"$group"
    for alternative in "${alternatives[@]}"; do
        name=$(awk '{print $1}' <<<"$alternative")
        if dpkg-query -W -f='${db:Status-Status}' "$name" 2>/dev/null | grep -qx installed; then
            satisfied=yes
        fi
    done
    [[ $satisfied == yes ]] || fail "dependency not satisfiable here: $group"
done

# Contents: exactly the installed files, under /usr, owned by root.
dpkg-deb --contents "$deb" >"$work/contents"
for path in ./usr/libexec/xscreensaver/orinthal ./usr/libexec/xscreensaver/orinthal-settings \
    ./usr/share/xscreensaver/config/orinthal.xml \
    ./usr/share/applications/orinthal-settings.desktop ./usr/share/doc/orinthal/README.md \
    ./usr/share/doc/orinthal/CREDITS.md "./usr/bin/orinthal -> ../libexec/xscreensaver/orinthal"; do
    grep -q -- " $path\$" "$work/contents" || { cat "$work/contents"; fail "$path missing from the package"; }
done
awk '{print $6}' "$work/contents" | grep -v '^\./usr/' && fail "files outside /usr"
awk '{print $2}' "$work/contents" | grep -vx root/root && fail "files not owned by root"
grep -q "^-rwxr-xr-x .* ./usr/libexec/xscreensaver/orinthal$" "$work/contents" || fail "program not executable"
grep -q "^-rwxr-xr-x .* ./usr/libexec/xscreensaver/orinthal-settings$" "$work/contents" ||
    fail "settings program not executable"

# --- unpack into a scratch root (not system-wide) and run the program there
dpkg -x "$deb" "$work/root"
# Whether the unpacked program runs is the question here; its leak checks
# under ASan belong to its own suite.
export ASAN_OPTIONS=detect_leaks=0
program=$work/root/usr/libexec/xscreensaver/orinthal
"$program" --help >"$work/help.txt" || fail "the unpacked program fails --help"
grep -q -- "--configure" "$work/help.txt" || fail "unexpected help text"
HOME=$work XDG_CONFIG_HOME=$work/config "$work/root/usr/bin/orinthal" --snapshot "$work/frame.png" --size 32x24 \
    --no-background || fail "the unpacked program cannot render"
[[ -s $work/frame.png ]] || fail "no snapshot written"
# --configure through the link in bin still finds the dialog's program beside
# the saver; with no display the dialog itself answers.
if env -u DISPLAY -u WAYLAND_DISPLAY HOME=$work XDG_CONFIG_HOME=$work/config "$work/root/usr/bin/orinthal" --configure \
    2>"$work/configure.err"; then
    fail "--configure without a display succeeded"
fi
grep -q "no X display" "$work/configure.err" || { cat "$work/configure.err"; fail "--configure did not reach the dialog"; }
cmp -s "$work/root/usr/share/xscreensaver/config/orinthal.xml" "$source/shell/orinthal.xml" || fail "config differs"
echo PASS
