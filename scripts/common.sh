# Shared set-up for the run and test commands: Debian packages, configure, build.
# Sourced, not run. Every step skips what is already done.

QVR_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# What the engine, the demo and the content tools build against.
QVR_BUILD_PACKAGES=(
    build-essential cmake ninja-build pkg-config
    libsdl2-dev libsdl2-mixer-dev libglew-dev libglu1-mesa-dev libgl1-mesa-dri
    libpng-dev libfreetype-dev fonts-dejavu-core libgtest-dev libmp3lame-dev libx11-dev
    ffmpeg libegl1 libegl-mesa0
)
# The fuzz targets: clang with its sanitizer and libFuzzer runtimes.
QVR_FUZZ_PACKAGES=(clang libclang-rt-14-dev)
# What the tests need on top: a virtual X server and the tools that drive windows in it.
QVR_TEST_PACKAGES=(xvfb xauth xfonts-base x11-utils xdotool)

qvr_log() { printf '== %s\n' "$*"; }

# Installs the named Debian packages that are not installed yet.
qvr_install_packages() {
    local missing=() pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        qvr_log "Debian packages: all present"
        return 0
    fi
    qvr_log "Installing Debian packages: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -q
    "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Configures (once) and builds one tree. Usage: qvr_build <dir> <build type> [cmake args...]
qvr_build() {
    local dir="$1" type="$2"
    shift 2
    if [ ! -f "$dir/build.ninja" ]; then
        qvr_log "Configuring $dir ($type)"
        cmake -S "$QVR_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" -DQVR_WERROR=ON "$@"
    fi
    qvr_log "Building $dir"
    cmake --build "$dir"
}
