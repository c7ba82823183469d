#!/usr/bin/env bash
# Installs what is missing, builds the designer (Release) and its help
# document, and starts it with the current folder as its start folder.
# Further arguments go to the program:  ./run.sh tcp://10.0.0.5:5200:operator
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/scripts/install-deps.sh"
cmake -S "$here" -B "$here/build-release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTESSARY_BUILD_TESTS=OFF > /dev/null
cmake --build "$here/build-release" --target tessary-designer help_pdf
exec "$here/build-release/src/tessary-designer" "$@"
