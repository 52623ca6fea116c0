#!/bin/sh
# Fuzzes the BMP loader for a bounded time (VYN_FUZZ_SECONDS, default 60),
# starting from the picture fixtures. Needs clang and its libFuzzer runtime.
# Findings are written to the build dir as crash-* files and fail the run.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VYN_FUZZ_BUILD:-$root/build/fuzz}
seconds=${VYN_FUZZ_SECONDS:-60}

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja \
  -DVYN_FUZZ=ON -DVYN_BUILD_TESTS=OFF -DVYN_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS="-fsanitize=fuzzer-no-link,address,undefined" \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined" >/dev/null
ninja -C "$build" -j2 vyn_fuzz_bmp

corpus="$build/fuzz-corpus"
mkdir -p "$corpus"
cd "$build"
# The first folder collects new inputs; the fixtures are read as seeds.
exec "$build/fuzz/vyn_fuzz_bmp" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 "$corpus" "$root/tests/gdi/fixtures/good" "$root/tests/gdi/fixtures/bad"
