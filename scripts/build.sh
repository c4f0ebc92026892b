#!/usr/bin/env bash
# Configures and builds the tree. Usage: build.sh [--sanitize]
# The normal build goes to build/, the sanitizer build to build-asan/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir="$root/build"
args=()
if [[ "${1:-}" == "--sanitize" ]]; then
    dir="$root/build-asan"
    args=(-DWORDBAY_SANITIZE=ON -DWORDBAY_WITH_UI=OFF -DWORDBAY_WITH_BENCH=OFF
          -DCMAKE_BUILD_TYPE=Debug)
fi
cmake -S "$root" -B "$dir" -G Ninja "${args[@]}" >/dev/null
cmake --build "$dir"
