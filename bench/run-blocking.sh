#!/usr/bin/env bash
# Measures URL matching with the real filter lists: fetches EasyList and EasyPrivacy from Debian's
# webext-ublock-origin-chromium package into bench/data/ (git-ignored; done once), builds
# bench_blocking in build-bench/ with -DORBWELL_BENCH=ON and runs it. Arguments go to the benchmark
# (--urls N, --linear-sample N, --seed N).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
data="$root/bench/data"
mkdir -p "$data"
if [ ! -f "$data/easylist.txt" ] || [ ! -f "$data/easyprivacy.txt" ]; then
  rm -f "$data"/webext-ublock-origin-chromium_*.deb
  fetch() { (cd "$data" && apt-get download webext-ublock-origin-chromium >/dev/null 2>&1); }
  if ! fetch; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    fetch
  fi
  rm -rf "$data/pkg"
  dpkg -x "$data"/webext-ublock-origin-chromium_*.deb "$data/pkg"
  for f in easylist.txt easyprivacy.txt; do
    cp "$(find "$data/pkg" -type f -path "*/thirdparties/easylist/$f" | head -n 1)" "$data/$f"
  done
  dpkg-deb -f "$data"/webext-ublock-origin-chromium_*.deb Version > "$data/VERSION"
  rm -rf "$data/pkg"
fi
if [ ! -f "$root/build-bench/build.ninja" ]; then
  cmake -S "$root" -B "$root/build-bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORBWELL_BENCH=ON -DORBWELL_TESTS=OFF
fi
cmake --build "$root/build-bench" --target bench_blocking
echo "Lists: webext-ublock-origin-chromium $(cat "$data/VERSION" 2>/dev/null || echo '(version unknown)')"
exec "$root/build-bench/bench/bench_blocking" --data "$data" "$@"
