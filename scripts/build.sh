#!/usr/bin/env bash
# Configures and builds the tree. Usage: build.sh [--sanitize | --tsan]
# The normal build goes to build/, the sanitizer build to build-asan/, the
# thread-sanitizer build of the tests of the threaded parts and of the
# windows to build-tsan/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir="$root/build"
args=()
targets=()
if [[ "${1:-}" == "--sanitize" ]]; then
    dir="$root/build-asan"
    args=(-DWORDBAY_SANITIZE=ON -DWORDBAY_WITH_UI=OFF -DWORDBAY_WITH_BENCH=OFF
          -DCMAKE_BUILD_TYPE=Debug)
elif [[ "${1:-}" == "--tsan" ]]; then
    dir="$root/build-tsan"
    args=(-DWORDBAY_TSAN=ON -DWORDBAY_WITH_BENCH=OFF)
    targets=(--target app_tests keysnare_tests speech_tests ui_widgets_tests ui_dialogs_tests
             ui_main_tests ui_popup_tests ui_settings_tests ui_text_tests ui_wordlists_tests)
fi
# WORDBAY_WERROR=ON in the environment makes every warning an error (CI).
if [[ -n "${WORDBAY_WERROR:-}" ]]; then
    args+=(-DWORDBAY_WERROR="$WORDBAY_WERROR")
fi
cmake -S "$root" -B "$dir" -G Ninja "${args[@]}" >/dev/null
cmake --build "$dir" "${targets[@]}"
