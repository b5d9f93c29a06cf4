#!/usr/bin/env bash
# Builds Korvane and runs every test: the plain build's tests, then the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, a minute of fuzzing for each target,
# coverage of the run-time layer and the engine, and clang-tidy.
set -euo pipefail
# The window's end-to-end test runs on a virtual X display; the package test reads the .deb;
# python3-ezdxf reads the DXF drawings back; the rest is for the hardening stages.
extra_packages=(xvfb xauth xdotool xclip dpkg-dev file desktop-file-utils
  clang-14 libfuzzer-14-dev libclang-rt-14-dev gcovr clang-tidy-14 python3-ezdxf)
# The page's tests drive Debian's Chromium with playwright-core from the npm registry; Debian's
# Node.js has npm apart, a newer Node.js has it inside.
extra_packages+=(chromium nodejs)
command -v npm >/dev/null || extra_packages+=(npm)
# Warnings are errors here, in the Release configuration that users and packagers build.
cmake_options=(-DKORVANE_WERROR=ON)
SECONDS=0
source "$(dirname "${BASH_SOURCE[0]}")/build.sh"
# playwright-core as the lock file pins it, without a browser download of its own.
PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --prefix "$root/web" --no-audit --no-fund --loglevel=error
ctest --test-dir "$root/build" --output-on-failure -j "$(nproc)"
echo "== build and tests: ${SECONDS} s"
for stage in sanitize fuzz coverage tidy; do
  SECONDS=0
  bash "$root/tools/$stage.sh"
  echo "== $stage: ${SECONDS} s"
done
