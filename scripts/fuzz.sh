#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer + AddressSanitizer + UndefinedBehaviorSanitizer)
# into build-fuzz/ and runs every target for a while from seeds made of the generated content and
# the test data. Any crash, leak, timeout or sanitizer report fails the command and leaves the
# input in build-fuzz/findings/.
#   scripts/fuzz.sh                      20 s per target, one process each (the test command's run)
#   scripts/fuzz.sh --seconds 600 --jobs 2 [--only fuzzPng]   long runs
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

seconds=20
jobs=1
only=""
while [ $# -gt 0 ]; do
    case "$1" in
        --seconds) seconds="$2"; shift 2 ;;
        --jobs) jobs="$2"; shift 2 ;;
        --only) only="$2"; shift 2 ;;
        *) echo "usage: $0 [--seconds N] [--jobs N] [--only TARGET]" >&2; exit 2 ;;
    esac
done

qvr_install_packages "${QVR_BUILD_PACKAGES[@]}" "${QVR_FUZZ_PACKAGES[@]}"
dir="$QVR_ROOT/build-fuzz"
if [ ! -f "$dir/build.ninja" ]; then
    qvr_log "Configuring $dir (clang, fuzzing)"
    CC=clang CXX=clang++ cmake -S "$QVR_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DQVR_FUZZ=ON -DQVR_BUILD_TESTS=OFF
fi
qvr_log "Building $dir"
cmake --build "$dir" --target qvr_fuzz_all

run="$dir/run"
corpus="$dir/corpus"
findings="$dir/findings"
mkdir -p "$findings"

# Seeds: copied afresh on every run (prefixed with the selector byte where the target reads one);
# what the fuzzer grows is kept per target between runs.
seed() {  # seed <target> <prefix byte or ""> <files...>
    local target="$1" prefix="$2" file
    shift 2
    mkdir -p "$corpus/$target/seed" "$corpus/$target/grown"
    for file in "$@"; do
        [ -f "$file" ] || continue
        [ "$(stat -c %s "$file")" -le 300000 ] || continue
        { [ -n "$prefix" ] && printf "$prefix"; cat "$file"; } > "$corpus/$target/seed/$(basename "$file").$prefix.seed"
    done
}
rm -rf "$corpus"/*/seed
for mode in '\x00' '\x01' '\x02' '\x03' '\x04' '\x05'; do
    seed fuzzMaterial "$mode" "$run"/Assets/Mat/*.mat "$QVR_ROOT"/tests/states/data/*.mat
done
seed fuzzSceneText "" "$run"/Assets/*.QVS "$run"/Assets/*.qvs
"$dir/bin/qvr_fuzz_seeds" "$run" "$dir/binary-seeds" > /dev/null
seed fuzzSceneBinary "" "$dir"/binary-seeds/*.bin
seed fuzzControllers '\x00' "$run/Assets/Data/cont.txt" "$QVR_ROOT"/tests/math/data/*.txt
printf '\x01do work on:2\nnumber of keys:2\nkey 0:0 0 0 0\nkey 1:1 2 3 1\n' > "$corpus/fuzzControllers/seed/linear.seed"
printf '\x02do work on:3\nnumber of keys:2\nkey 0:0 0 0 0 0 0 0\nkey 1:1 2 3 1 0.5 0 -0.5\n' > "$corpus/fuzzControllers/seed/tcb.seed"
seed fuzzResourceList "" "$run/Assets/Data/resources.dat"
seed fuzzPng "" "$run"/Assets/Tex/particle.png "$run"/Assets/Tex/black.png "$run"/Assets/Tex/rain.png \
    "$run"/Assets/Tex/rampcity.png "$run"/Assets/Tex/splash.png
seed fuzzGlsl "" "$run"/Assets/Shaders/*.glsl
seed fuzzFontCollection "" "$run/Assets/Fonts/fontCollection.txt"

declare -A dictionary=([fuzzMaterial]=material [fuzzSceneText]=scene [fuzzSceneBinary]=scene
    [fuzzControllers]=controllers [fuzzResourceList]=resources [fuzzPng]=png [fuzzGlsl]=glsl
    [fuzzFontCollection]=fonts)
export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
status=0
for target in fuzzMaterial fuzzSceneText fuzzSceneBinary fuzzControllers fuzzResourceList fuzzPng fuzzGlsl \
        fuzzFontCollection; do
    if [ -n "$only" ] && [ "$only" != "$target" ]; then
        continue
    fi
    qvr_log "Fuzzing $target for ${seconds} s (${jobs} job(s))"
    log="$dir/$target.log"
    args=("$corpus/$target/grown" "$corpus/$target/seed" "-dict=$QVR_ROOT/fuzz/dict/${dictionary[$target]}.dict"
          -max_total_time="$seconds" -seed=1 -rss_limit_mb=2048 -malloc_limit_mb=1024 -timeout=10
          -max_len=65536 -close_fd_mask=3 -print_final_stats=1 -artifact_prefix="$findings/$target-")
    if [ "$jobs" -gt 1 ]; then
        args+=(-jobs="$jobs" -workers="$jobs")
    fi
    rm -f "$dir"/fuzz-*.log
    # Inputs that once found a problem run first, under the same limits.
    regressions=("$QVR_ROOT/tests/fuzz-regressions/$target"/*)
    if [ -e "${regressions[0]}" ] && ! "$dir/bin/$target" -rss_limit_mb=2048 -malloc_limit_mb=1024 -timeout=10 \
            "${regressions[@]}" > "$dir/$target-regressions.log" 2>&1; then
        echo "== $target fails on a kept regression input; see $dir/$target-regressions.log" >&2
        status=1
        continue
    fi
    if (cd "$dir" && "$dir/bin/$target" "${args[@]}") > "$log" 2>&1; then
        # With several jobs each worker writes a log of its own: keep them with the target's.
        for worker in "$dir"/fuzz-*.log; do
            [ -f "$worker" ] && cat "$worker" >> "$log" && rm -f "$worker"
        done
        grep -E "DONE|stat::number_of_executed_units" "$log" | tail -$((2 * jobs)) || true
    else
        for worker in "$dir"/fuzz-*.log; do
            [ -f "$worker" ] && cat "$worker" >> "$log" && rm -f "$worker"
        done
        echo "== $target found a problem; its input is in $findings/ and its report in $log" >&2
        tail -40 "$log" >&2
        status=1
    fi
done
exit $status
