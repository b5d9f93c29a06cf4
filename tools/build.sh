#!/usr/bin/env bash
# Installs whichever Debian packages Korvane needs and lacks, then configures and builds it
# in build/. Quick when everything is already there. Sourced by run.sh and test.sh; a script
# that needs more packages names them in extra_packages first.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
packages=(
  g++ make cmake
  libcli11-dev nlohmann-json3-dev libfmt-dev libfast-float-dev
  qt6-base-dev qt6-svg-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n fonts-wqy-microhei
  libgtest-dev libgmock-dev libbenchmark-dev clang-format
  emscripten python3
  ${extra_packages[@]+"${extra_packages[@]}"}
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  echo "Installing ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Release, as users and packagers build it; a script that wants more options (test.sh turns
# warnings into errors) names them in cmake_options first.
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release \
  ${cmake_options[@]+"${cmake_options[@]}"} >/dev/null
cmake --build "$root/build" -j "$(nproc)"
