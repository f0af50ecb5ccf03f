#!/bin/sh
# Start-up time: from starting quorvel to its window shown on the screen with
# the intro painted (--quit-when-shown quits right then). One X server
# (Xvfb) serves every start; prints each start and the median, in ms.
# Usage: bench/startup.sh [PROGRAM] [STARTS]   (default build/quorvel, 11)
set -eu
program=$(realpath "${1:-build/quorvel}")
starts=${2:-11}
[ -x "$program" ] || { echo "startup.sh: no program $program (build it first)" >&2; exit 1; }
if [ -z "${QUORVEL_STARTUP_INNER:-}" ]; then
  QUORVEL_STARTUP_INNER=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" sh "$0" "$program" "$starts"
fi
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="$(mktemp -d)"
# Settings and recovery copies of its own: no question holds a start up.
export XDG_CONFIG_HOME="$XDG_RUNTIME_DIR/config" XDG_STATE_HOME="$XDG_RUNTIME_DIR/state"
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
# A first start warms the disk cache and the font cache; it is not counted.
"$program" --quit-when-shown
times=""
i=0
while [ "$i" -lt "$starts" ]; do
  t0=$(date +%s%N)
  "$program" --quit-when-shown
  t1=$(date +%s%N)
  times="$times $(( (t1 - t0) / 1000000 ))"
  i=$((i + 1))
done
echo "start-up to the intro shown, ms:$times"
median=$(printf '%s\n' $times | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
echo "start-up median: $median ms over $starts starts"
