#!/usr/bin/env bash
# Builds the Debian package from the build folder and checks what it declares and installs.
# Usage: package_test.sh BUILD_DIR
set -euo pipefail

build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 \
  || fail "cpack failed: $(cat "$work/cpack.log")"
deb=$(ls "$work"/korvane_*.deb)
echo "built $(basename "$deb")"

depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6gui6 libqt6svg6 libstdc++6 fonts-wqy-microhei; do
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done

contents=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
for file in ./usr/bin/korvane ./usr/bin/korvane-count ./usr/bin/korvane-layout ./usr/bin/korvane-sheet \
  ./usr/share/applications/korvane.desktop ./usr/share/applications/korvane-sheet.desktop \
  ./usr/share/icons/hicolor/scalable/apps/korvane.svg \
  ./usr/share/icons/hicolor/scalable/apps/korvane-sheet.svg ./usr/share/korvane/korvane.html; do
  grep -qx "$file" <<<"$contents" || fail "the package lacks $file"
done

dpkg-deb -x "$deb" "$work/root"
file "$work/root/usr/bin/korvane" | grep -q 'stripped' || fail "korvane is not a program"
file "$work/root/usr/bin/korvane" | grep -q 'not stripped' && fail "korvane is not stripped"
desktop-file-validate "$work/root/usr/share/applications/korvane.desktop"
desktop-file-validate "$work/root/usr/share/applications/korvane-sheet.desktop"
grep -qx 'Name=Korvane 管板布置' "$work/root/usr/share/applications/korvane-sheet.desktop" \
  || fail "the layout window's entry is misnamed"
# The layout window starts and names its options. Read whole: a reader that stops at the first
# match closes the pipe on the rest, which the program rightly reports as a failed write.
help=$("$work/root/usr/bin/korvane-sheet" --help -platform offscreen) \
  || fail "korvane-sheet does not start"
grep -q -- '--centre-tube' <<<"$help" || fail "korvane-sheet's help lacks its options"
# The packaged command-line tool runs and counts.
[ "$("$work/root/usr/bin/korvane-count" 600 32 25)" = 283 ] || fail "korvane-count miscounts"
"$work/root/usr/bin/korvane-layout" --otl 1184 --tube 28 --pitch 36 --passes 2 | grep -qx '总管数 898 管' \
  || fail "korvane-layout miscounts"
grep -q '^\./usr/lib/.*korvane/korvane-draw\.so$' <<<"$contents" || fail "the package lacks korvane-draw.so"
# The page is one file with its WebAssembly inside, and small enough to send by e-mail.
grep -q 'KorvaneCore' "$work/root/usr/share/korvane/korvane.html" || fail "korvane.html lacks its core"
[ "$(stat -c %s "$work/root/usr/share/korvane/korvane.html")" -le 1572864 ] \
  || fail "korvane.html is larger than 1.5 MB"
# The command-line tools load Qt only to paint a picture, from the packaged module.
for program in korvane-count korvane-layout; do
  ldd "$work/root/usr/bin/$program" | grep -q libQt && fail "$program links Qt"
done
"$work/root/usr/bin/korvane-layout" --shell 600 --tube 25 --pitch 32 --draw "$work/l.png" >/dev/null \
  && "$work/root/usr/bin/korvane-count" --draw "$work/c.pdf" 600 32 25 >/dev/null \
  || fail "the packaged programs cannot paint"
[ "$(head -c 4 "$work/l.png" | tail -c 3)" = PNG ] || fail "not a PNG"
[ "$(head -c 4 "$work/c.pdf")" = %PDF ] || fail "not a PDF"

# apt resolves every dependency (a simulation: nothing is installed).
if [ "$(id -u)" -eq 0 ]; then
  apt-get install --simulate "$deb" >"$work/apt.log" 2>&1 || fail "apt-get: $(cat "$work/apt.log")"
  grep -q '^Inst korvane' "$work/apt.log" || fail "apt-get would not install it: $(cat "$work/apt.log")"
fi
echo "ok"
