#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through
# CTest (GUI tests on Qt's offscreen platform). Exits non-zero on any failure.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/scripts/install-deps.sh"
cmake -S "$here" -B "$here/build-test" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTESSARY_BUILD_TESTS=ON -DTESSARY_BUILD_BENCH=ON > /dev/null
cmake --build "$here/build-test"
export QT_QPA_PLATFORM=offscreen
cd "$here/build-test"
ctest --output-on-failure -j "$(nproc)"
