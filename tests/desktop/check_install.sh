#!/bin/sh
# The desktop integration as installed: the entry, the metainfo and the file
# type validate; an install into a fresh prefix holds every file a desktop
# needs; the installed file type knows projects by name only; the installed
# command-line tool reads the installed examples.
# Usage: check_install.sh SOURCE_DIR BUILD_DIR
set -eu
src=$1
build=$2
id=org.example.quorvel
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "check_install: $*" >&2; exit 1; }

desktop-file-validate "$src/data/desktop/$id.desktop" || fail "the desktop entry does not validate"
appstreamcli validate --no-net "$src/data/desktop/$id.metainfo.xml" || fail "the metainfo does not validate"

cmake --install "$build" --prefix "$tmp/usr" > "$tmp/install.log" || fail "cmake --install failed"
cd "$tmp/usr"
for f in bin/quorvel bin/quorvel-cli bin/quorvel-sound-decoder \
         share/applications/$id.desktop share/metainfo/$id.metainfo.xml share/mime/packages/$id.xml \
         share/icons/hicolor/scalable/apps/$id.svg \
         share/icons/hicolor/48x48/apps/$id.png share/icons/hicolor/64x64/apps/$id.png \
         share/icons/hicolor/128x128/apps/$id.png share/icons/hicolor/256x256/apps/$id.png \
         share/quorvel/Library/qv_1.dll; do
  [ -s "$f" ] || fail "the install has no $f"
done
for n in demo aquarium bouncelab quizboard; do
  for f in $n.QV1 Back_$n.bmp Sprites_$n.bmp Masks_$n.bmp; do
    [ -s "share/quorvel/examples/$n/$f" ] || fail "the install has no example file $n/$f"
  done
done
# Each icon is the size its folder says.
for s in 48 64 128 256; do
  file "share/icons/hicolor/${s}x$s/apps/$id.png" | grep -q "$s x $s" || fail "the ${s} px icon has another size"
done
desktop-file-validate share/applications/$id.desktop || fail "the installed desktop entry does not validate"

# The file type compiles; it is known by the glob *.QV1 (in any case) and is
# a kind of RTF, with no content rule of its own that would claim other RTF
# documents.
update-mime-database share/mime > "$tmp/mime.log" 2>&1 || fail "the file type does not compile"
grep -qix "application/x-quorvel-project:\*.qv1" share/mime/globs || fail "no *.QV1 glob for the project type"
grep -qx "application/x-quorvel-project application/rtf" share/mime/subclasses || fail "the project type is no RTF"
if grep -q "quorvel" share/mime/magic 2>/dev/null; then fail "the project type has a content rule"; fi

# The installed tool reads an installed example.
bin/quorvel-cli dump share/quorvel/examples/quizboard/quizboard.QV1 > "$tmp/dump.json" || fail "the installed example does not load"
grep -q '"Label": "Rocket"' "$tmp/dump.json" || fail "the installed example lost its Panes"
# It finds the sound decoder beside it.
cp -r share/quorvel/examples/demo "$tmp/demo"
gst-launch-1.0 -q audiotestsrc num-buffers=10 ! wavenc ! filesink location="$tmp/t.wav" &&
  bin/quorvel-cli set "$tmp/demo/demo.QV1" --pane 1 "Sound=$tmp/t.wav" || fail "the installed tool cannot decode a sound"
echo "check_install: all files in place and valid"
