#!/bin/bash
# Builds the libFuzzer targets with clang and runs each for a bounded time.
#   scripts/fuzz.sh [seconds per target, default 60]
# New inputs collect in build-fuzz/corpus/; a crash, hang or runaway allocation leaves its
# input in build-fuzz/crashes/ and makes the script fail. Keep such an input in
# fuzz/corpus/<target>/ once it is mended: the ordinary tests run every kept input.
set -euo pipefail

SECONDS_PER_TARGET=${1:-60}
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export BUILD_DIR="$ROOT/build-fuzz"
export CMAKE_EXTRA="-DTW_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++"
export TW_BUILD_TARGETS="fuzz_fieldreader fuzz_picture fuzz_guide"
EXTRA_PACKAGES="clang libclang-rt-14-dev"
source "$ROOT/scripts/setup.sh"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
failed=0
for name in fieldreader picture guide; do
    corpus="$BUILD_DIR/corpus/$name"
    crashes="$BUILD_DIR/crashes/$name"
    mkdir -p "$corpus" "$crashes"
    echo "== fuzz_$name for ${SECONDS_PER_TARGET}s"
    if ! "$BUILD_DIR/fuzz/fuzz_$name" "$corpus" "$ROOT/fuzz/corpus/$name" \
        -max_total_time="$SECONDS_PER_TARGET" -timeout=10 -rss_limit_mb=2048 \
        -malloc_limit_mb=1024 -max_len=65536 -print_final_stats=1 \
        -artifact_prefix="$crashes/" 2>"$BUILD_DIR/fuzz_$name.log"; then
        echo "fuzz_$name failed; input kept in $crashes" >&2
        tail -40 "$BUILD_DIR/fuzz_$name.log" >&2
        failed=1
    fi
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$BUILD_DIR/fuzz_$name.log" || true
done
exit $failed
