#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need,
# when they are missing. Runs apt-get as root (or through sudo).
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  libgtest-dev          # the test framework
  libbenchmark-dev      # benchmarks
  libfltk1.3-dev        # the package's window
  libcli11-dev          # the scenario command line
  nlohmann-json3-dev    # scenario inspect
  libcairo2-dev         # scenario render
  xvfb xauth            # the window tests run under a virtual X server
  chromium              # the tests of scenario view open its page in headless Chromium
  clang-14 libclang-rt-14-dev  # libFuzzer for scripts/fuzz.sh
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "installing: ${missing[*]}" >&2
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
