#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time on
# a copy of its seed corpus, so the corpus in the repository stays as it is.
# Usage: fuzz.sh [target...]   (default: every folder of fuzz/corpus/)
#   FUZZ_SECONDS    time per target in seconds (default 60)
#   FUZZ_BUILD_DIR  build folder (default build-fuzz/)
# Inputs that crash land in <build folder>/artifacts/; the script then fails.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${FUZZ_SECONDS:-60}"

cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWORDBAY_FUZZ=ON -DWORDBAY_WITH_UI=OFF \
      -DWORDBAY_WITH_BENCH=OFF >/dev/null
cmake --build "$dir" --target fuzzers -j 2

targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
    for corpus in "$root"/fuzz/corpus/*/; do
        targets+=("$(basename "$corpus")")
    done
fi

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
mkdir -p "$dir/artifacts"
failed=0
for target in "${targets[@]}"; do
    echo "== $target: ${seconds} s"
    work="$dir/corpus/$target"
    mkdir -p "$work"
    if ! "$dir/bin/${target}_fuzzer" -max_total_time="$seconds" -print_final_stats=1 \
            -artifact_prefix="$dir/artifacts/$target-" "$work" "$root/fuzz/corpus/$target"; then
        echo "== $target: FAILED (see $dir/artifacts/)"
        failed=1
    fi
done
exit "$failed"
