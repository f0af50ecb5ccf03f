#!/usr/bin/env bash
# Each key that opens a dialog opens it once, on a bare X display with no
# window manager: the key must not reach the main window a second time when
# the dialog closes. Runs the real program under Xvfb and types with xdotool.
# Usage: keys_once.sh PATH/TO/quorvel   (run through xvfb-run -a)
set -u
app="$1"
QT_QPA_PLATFORM=xcb "$app" >/dev/null 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null' EXIT
fail() { echo "keys_once: $*"; exit 1; }

# Waits up to 10 s for a visible window titled $1; its id, or nothing.
wait_window() {
  for _ in $(seq 50); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.2
  done
}
# Waits up to 10 s for a window titled $1 to show and take the keyboard, so
# that keys typed next reach it and not the window under it; its id.
wait_keys() {
  id=$(wait_window "$1")
  [ -n "$id" ] || return
  for _ in $(seq 50); do
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$id" ] && { echo "$id"; return; }
    sleep 0.2
  done
}
# How many windows titled $1 show after the program had time to open more.
count_after_a_while() { sleep 1.5; xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l; }

main=$(wait_window '^Quorvel$')
[ -n "$main" ] || fail "the main window did not show"
sleep 1  # the window shows before its first paint and layout are done
# "Blank new Project" on the intro, then a press on the Board.
xdotool mousemove --window "$main" 98 228 click 1 sleep 0.5 mousemove --window "$main" 400 300 click 1 sleep 0.3

# Ctrl+N answered Yes, then No; Ctrl+S cancelled; Ctrl+X answered No.
for step in "ctrl+n|^New Project$|alt+y" "ctrl+n|^New Project$|alt+n" "ctrl+s|^Save Quorvel Project$|Escape" \
            "ctrl+x|^Activity : End Application$|alt+n"; do
  IFS='|' read -r key title answer <<<"$step"
  xdotool key "$key"
  [ -n "$(wait_keys "$title")" ] || fail "$key opened no \"$title\" that took the keys"
  xdotool key "$answer"
  n=$(count_after_a_while "$title")
  [ "$n" = 0 ] || fail "$key opened \"$title\" again after $answer"
done
# Nothing gives the keys back after a message box: the window takes them
# itself, so F1 with the pointer off the window still opens Help.
xdotool mousemove 1270 1010; sleep 0.3; xdotool key F1
[ -n "$(wait_keys '^Board Globals$')" ] || fail "F1 after a message box, the pointer off the window, was lost"

# Keys as X sends them: with Shift held "]" arrives as "}". Three Panes at
# 50,50, 70,70 and 90,90; the third, pressed where it alone is, goes to the
# front (Ctrl+Shift+]), one back (Ctrl+[) and a pixel right (Right); the
# saved project shows the order.
xdotool key Escape ctrl+a ctrl+a ctrl+a
xdotool mousemove --window "$main" 186 210 click 1
xdotool key ctrl+shift+bracketright ctrl+bracketleft Right ctrl+s
[ -n "$(wait_keys '^Save Quorvel Project$')" ] || fail "ctrl+s opened no save dialog that took the keys"
dir=$(mktemp -d); trap 'kill $pid 2>/dev/null; rm -rf "$dir"' EXIT
xdotool type "$dir/keys.QV1"; xdotool key Return
for _ in $(seq 150); do [ -s "$dir/keys.QV1" ] && break; sleep 0.2; done
order=$("$(dirname "$app")/quorvel-cli" dump "$dir/keys.QV1" | python3 -c '
import json, sys
print(" ".join("%s@%d,%d" % (p["Label"], p["Left"], p["Top"]) for p in json.load(sys.stdin)["Panes"]))')
[ "$order" = "01.bmp@50,50 03.bmp@91,90 02.bmp@70,70" ] || fail "the layer keys left $order"
kill -0 $pid 2>/dev/null || fail "the program ended"
echo "keys_once: each key opened its dialog once, the keys came back, and the layer keys acted as X sends them"
