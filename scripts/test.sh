#!/usr/bin/env bash
# Installs what is missing, builds the normal and the sanitizer configuration, and runs every test:
#   1. tests without a display (label not "display") in the normal build;
#   2. tests labelled "display" in the normal build, under a private Xvfb server;
#   3. tests without a display again in the AddressSanitizer + UndefinedBehaviorSanitizer build;
#   4. a bounded run (20 s, fixed seed) of every fuzz target (clang, libFuzzer).
# Any failure, and any sanitizer report, makes the command fail.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

qvr_install_packages "${QVR_BUILD_PACKAGES[@]}" "${QVR_TEST_PACKAGES[@]}" "${QVR_FUZZ_PACKAGES[@]}"
qvr_build "$QVR_ROOT/build" RelWithDebInfo
qvr_build "$QVR_ROOT/build-asan" Debug -DQVR_SANITIZE=ON

jobs="$(nproc 2>/dev/null || echo 2)"
ctest_args=(--output-on-failure --no-tests=ignore -j "$jobs")

# Tests without a display never see one, so a message box can never wait for a click.
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY)

qvr_log "Tests without a display"
"${no_display[@]}" ctest --test-dir "$QVR_ROOT/build" -LE display "${ctest_args[@]}"

# A display number nobody else uses: xvfb-run -a can hand the same one to parallel runs.
display=90
while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do
    display=$((display + 1))
done
qvr_log "Tests with a display (Xvfb :$display)"
xvfb-run -n "$display" -e "$QVR_ROOT/build/xvfb.log" -s "-screen 0 800x600x24" \
    ctest --test-dir "$QVR_ROOT/build" -L display --output-on-failure --no-tests=ignore

qvr_log "Tests without a display, sanitizer build"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
"${no_display[@]}" ctest --test-dir "$QVR_ROOT/build-asan" -LE display "${ctest_args[@]}"

qvr_log "Fuzz targets, 20 s each"
"$QVR_ROOT/scripts/fuzz.sh" --seconds 20

qvr_log "All tests passed"
