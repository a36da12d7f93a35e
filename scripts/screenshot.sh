#!/usr/bin/env bash
# Starts the built browser under Xvfb in a throw-away folder, waits, saves a screenshot of the screen.
# Usage: scripts/screenshot.sh OUT.png [SECONDS] [browser arguments...]
# SHOT_ACTIONS, when set, is run (e.g. xdotool clicks) after the wait, followed by another wait.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:?output png}"); shift
wait=${1:-8}; shift || true
command -v import >/dev/null || { apt-get install -y -qq imagemagick >/dev/null; }
dir=$(mktemp -d)
cp "$root/build/bin/orbwell" "$dir/"
cp "$root"/build/bin/*.txt "$dir/" 2>/dev/null || true
cd "$dir"
xvfb-run -a -s "-screen 0 1366x768x24" bash -c "./orbwell $* & pid=\$!; sleep $wait; if [ -n \"\${SHOT_ACTIONS:-}\" ]; then eval \"\$SHOT_ACTIONS\"; sleep $wait; fi; import -window root '$out'; kill \$pid; wait \$pid" || true
rm -rf "$dir"
echo "$out"
