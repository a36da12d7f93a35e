#!/usr/bin/env bash
# Configures once, then builds incrementally into build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
if [ ! -f "$root/build/build.ninja" ]; then
  cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
fi
cmake --build "$root/build" --parallel "$(nproc)"
