#!/bin/sh
# The Debian package: it holds the programs, the desktop files, the examples
# and the sample library; its dependencies were computed from the programs'
# libraries. As root, with no quorvel package installed yet, it is also
# installed with dpkg -i, the installed app opens an installed example, and
# dpkg -r takes every file away again.
# Usage: check_package.sh BUILD_DIR   (checks the newest quorvel_*.deb there)
set -eu
deb=$(ls -t "$1"/quorvel_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { echo "check_package: no quorvel_*.deb in $1 (make package)" >&2; exit 1; }
id=org.example.quorvel
fail() { echo "check_package: $*" >&2; exit 1; }

list=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
for f in usr/bin/quorvel usr/bin/quorvel-cli usr/bin/quorvel-sound-decoder usr/share/applications/$id.desktop \
         usr/share/metainfo/$id.metainfo.xml usr/share/mime/packages/$id.xml \
         usr/share/icons/hicolor/scalable/apps/$id.svg usr/share/icons/hicolor/256x256/apps/$id.png \
         usr/share/quorvel/Library/qv_1.dll usr/share/quorvel/examples/demo/demo.QV1 \
         usr/share/quorvel/examples/aquarium/aquarium.QV1 usr/share/quorvel/examples/bouncelab/Sprites_bouncelab.bmp \
         usr/share/quorvel/examples/quizboard/Masks_quizboard.bmp; do
  printf '%s\n' "$list" | grep -qx "./$f" || fail "the package has no $f"
done
depends=$(dpkg-deb -f "$deb" Depends)
for d in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6multimedia6 qt6-qpa-plugins; do
  printf '%s\n' "$depends" | grep -q "$d" || fail "the package does not depend on $d ($depends)"
done
echo "check_package: contents and dependencies in order"

if [ "$(id -u)" != 0 ] || dpkg-query -W quorvel > /dev/null 2>&1; then
  echo "check_package: not root, or quorvel already installed: install and removal not tried"
  exit 0
fi
dpkg -i "$deb" || fail "dpkg -i failed"
trap 'dpkg -r quorvel > /dev/null 2>&1 || true' EXIT
/usr/bin/quorvel-cli dump /usr/share/quorvel/examples/aquarium/aquarium.QV1 > /dev/null ||
  fail "the installed tool cannot read an installed example"
# A project is known by its name; the same text under another name is RTF.
tmp=$(mktemp -d)
cp /usr/share/quorvel/examples/demo/demo.QV1 "$tmp/a.QV1"
cp /usr/share/quorvel/examples/demo/demo.QV1 "$tmp/a.rtf"
type_of() { gio info -a standard::content-type "$1" | sed -n 's/.*standard::content-type: //p'; }
[ "$(type_of "$tmp/a.QV1")" = application/x-quorvel-project ] || fail "a .QV1 file is $(type_of "$tmp/a.QV1")"
[ "$(type_of "$tmp/a.rtf")" = application/rtf ] || fail "an RTF document is $(type_of "$tmp/a.rtf")"
rm -rf "$tmp"
# The app opens the example named on its command line and quits once shown;
# a project it could not read would leave a message box up (and time out).
XDG_RUNTIME_DIR=$(mktemp -d) timeout 60 xvfb-run -a /usr/bin/quorvel --quit-when-shown \
  /usr/share/quorvel/examples/quizboard/quizboard.QV1 || fail "the installed app did not start with an example"
dpkg -r quorvel || fail "dpkg -r failed"
trap - EXIT
for f in /usr/bin/quorvel /usr/bin/quorvel-cli /usr/bin/quorvel-sound-decoder /usr/share/quorvel /usr/share/applications/$id.desktop; do
  [ ! -e "$f" ] || fail "$f is left after dpkg -r"
done
echo "check_package: installed, started and removed cleanly"
