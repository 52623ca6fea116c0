#!/bin/sh
# Installs what is missing, then builds and runs the whole test suite twice:
# a Release build (build/release) and a build with AddressSanitizer and
# UndefinedBehaviorSanitizer (build/asan). Ends with the bounded fuzzing run
# when scripts/fuzz.sh is there. Every stage runs even after a failure; the
# summary at the end lists them, and the exit status is 1 if any failed.
set -eu
cd "$(dirname "$0")/.."

./scripts/setup.sh

summary=""
failed=0

# stage NAME COMMAND...: runs the command and notes how it went and how long
# it took.
stage() {
  name=$1
  shift
  echo "==> $name"
  start=$(date +%s)
  if "$@"; then
    outcome="ok"
  else
    outcome="FAILED"
    failed=1
  fi
  summary="$summary
  $name: $outcome ($(($(date +%s) - start)) s)"
}

# Keeps going past a failing target, so that the tests of everything that
# did build still run (ctest reports a program that did not build as failed).
build() {
  dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null && cmake --build "$dir" -- -k 0
}

run_tests() {
  ctest --test-dir "$1" --output-on-failure -j2
}

# A sanitizer report fails the test that caused it.
export ASAN_OPTIONS="abort_on_error=0:detect_leaks=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

stage "release build" build build/release -DCMAKE_BUILD_TYPE=Release
stage "release tests" run_tests build/release

# The benchmark program is left out here: it measures, it does not test.
stage "sanitizer build" build build/asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVYN_SANITIZE=ON -DVYN_BUILD_BENCH=OFF
stage "sanitizer tests" run_tests build/asan

if [ -f scripts/fuzz.sh ]; then
  stage "fuzzing" sh ./scripts/fuzz.sh
fi

echo
echo "test summary:$summary"
if [ "$failed" -ne 0 ]; then
  echo "test: FAILED"
  exit 1
fi
echo "test: all passed"
