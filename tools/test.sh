#!/usr/bin/env bash
# Builds Korvane and runs every test.
set -euo pipefail
# The window's end-to-end test runs on a virtual X display; the package test reads the .deb.
extra_packages=(xvfb xauth xdotool xclip dpkg-dev file desktop-file-utils)
source "$(dirname "${BASH_SOURCE[0]}")/build.sh"
ctest --test-dir "$root/build" --output-on-failure -j "$(nproc)"
