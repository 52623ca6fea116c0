#!/bin/sh
# Installs the Debian packages that building, running and testing vyn need,
# and only those that are missing. Runs apt-get (as root, or through sudo)
# only when something is missing, so a second run changes nothing.
set -eu

packages="build-essential cmake ninja-build pkg-config git python3
  libgtest-dev libgmock-dev libbenchmark-dev libpng-dev
  libx11-dev libxext-dev libxrandr-dev libxpresent-dev libxfixes-dev
  xvfb xdotool x11-utils x11-apps netpbm clang libclang-rt-14-dev libosmesa6-dev"

missing=""
for package in $packages; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  case "$status" in
    *"install ok installed"*) ;;
    *) missing="$missing $package" ;;
  esac
done

if [ -z "$missing" ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  run_as_root=""
elif command -v sudo >/dev/null 2>&1; then
  run_as_root="sudo"
else
  echo "setup: missing packages:$missing" >&2
  echo "setup: run this script as root, or install sudo, to install them" >&2
  exit 1
fi

echo "setup: installing$missing"
$run_as_root env DEBIAN_FRONTEND=noninteractive apt-get update
# shellcheck disable=SC2086  # the list is meant to split into words
$run_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
