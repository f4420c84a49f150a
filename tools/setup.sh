# Sourced by run.sh and test.sh: installs what is missing and builds.
# Usage: source tools/setup.sh; vorn_setup; vorn_build BUILD_DIR [CMAKE OPTIONS...]
# vorn_build builds every target, or only those named in VORN_TARGETS when it is set.

VORN_PACKAGES=(cmake ninja-build g++ qt6-base-dev libjpeg62-turbo-dev libgtest-dev
               libbenchmark-dev fonts-dejavu-core scdoc
               # test.sh checks an installation and builds the Debian package with these
               desktop-file-utils appstream shared-mime-info libglib2.0-bin groff-base
               file dpkg-dev)

vorn_setup() {
    local missing=()
    for p in "${VORN_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "VORN needs these Debian packages, which are not installed:" >&2
        echo "  ${missing[*]}" >&2
        echo "Install them as root (sudo apt-get install ${missing[*]}) or run this command as root." >&2
        exit 1
    fi
    echo "Installing ${missing[*]}..."
    export DEBIAN_FRONTEND=noninteractive
    if ! apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null; then
        apt-get update -qq && apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
    fi
}

vorn_build() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
    # shellcheck disable=SC2086 # the targets are words
    cmake --build "$dir" ${VORN_TARGETS:+--target $VORN_TARGETS} -- -j"$(nproc)"
}

# Qt wants a private runtime directory; the tests run without a display.
vorn_environment() {
    export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/vorn-runtime-XXXXXX)}"
    chmod 700 "$XDG_RUNTIME_DIR"
}
