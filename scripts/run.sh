#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program from its run directory.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

qvr_install_packages "${QVR_BUILD_PACKAGES[@]}"
qvr_build "$QVR_ROOT/build" RelWithDebInfo

cd "$QVR_ROOT/build/run"
qvr_log "Starting $QVR_ROOT/build/bin/quorvane in $PWD"
exec "$QVR_ROOT/build/bin/quorvane"
