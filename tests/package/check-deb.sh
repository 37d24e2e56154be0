#!/bin/sh
# Builds the Debian package from a built tree into a scratch folder and checks it: its file
# list, the libraries its control data names, and the unpacked program answering --version and
# --help with no display, and lintian's verdict. Exit 77 (skipped) when the Debian tools are missing.
# usage: check-deb.sh <build-dir> <version>
set -u
build=$1
version=$2
for tool in cpack dpkg-deb dpkg-shlibdeps; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed (package dpkg-dev)"; exit 77; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

(cd "$build" && cpack -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1) || { cat "$scratch/cpack.log"; fail "cpack"; }
deb=$(ls "$scratch"/out/orvane-editor_"$version"_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no orvane-editor_${version}_*.deb made"

dpkg-deb -c "$deb" | awk '{print $6}' >"$scratch/files"
for f in ./usr/lib/orvane-editor/orvane-editor ./usr/bin/orvane-editor ./usr/lib/orvane-editor/Help/orvane.qch \
         ./usr/share/applications/com.example.OrvaneEditor.desktop \
         ./usr/share/metainfo/com.example.OrvaneEditor.metainfo.xml \
         ./usr/share/icons/hicolor/128x128/apps/com.example.OrvaneEditor.png \
         ./usr/share/man/man1/orvane-editor.1.gz \
         ./usr/share/doc/orvane-editor/copyright ./usr/share/doc/orvane-editor/changelog.gz; do
    grep -qx "$f" "$scratch/files" || fail "$f missing from the package"
done
states=$(grep -c '^\./usr/lib/orvane-editor/States/.*\.st$' "$scratch/files")
[ "$states" -eq 54 ] || fail "$states state files in the package, not 54"

[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version $(dpkg-deb -f "$deb" Version)"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 libqt6help6 libqt6sql6-sqlite; do
    echo "$depends" | grep -q "$lib" || fail "Depends lacks $lib: $depends"
done
dpkg-deb -f "$deb" Description | grep -q dialout || fail "the description does not name dialout"

dpkg-deb -x "$deb" "$scratch/root" || fail "dpkg-deb -x"
program="$scratch/root/usr/bin/orvane-editor"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 60 "$program" --version) || fail "--version"
[ "$out" = "orvane-editor $version" ] || fail "--version said: $out"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 60 "$program" --help) || fail "--help"
echo "$out" | grep -q -- '--version' && echo "$out" | grep -q -- '--help' || fail "--help said: $out"
# lintian: no errors (its warnings and notes are printed for the record).
if command -v lintian >/dev/null 2>&1; then
    lintian "$deb" >"$scratch/lintian.log" 2>&1
    cat "$scratch/lintian.log"
    ! grep -q '^E: ' "$scratch/lintian.log" || fail "lintian reports errors"
else
    echo "lintian is not installed: its check is left out"
fi
echo "package checked: $(basename "$deb")"
