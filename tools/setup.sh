# Sourced by run.sh and test.sh: installs what is missing and builds.
# Usage: source tools/setup.sh; vorn_setup GROUP...; vorn_build BUILD_DIR [CMAKE OPTIONS...]
# vorn_build builds every target, or only those named in VORN_TARGETS when it is set.

# The Debian packages of each group. build: building and running the programs (run.sh).
VORN_PACKAGES_BUILD=(cmake ninja-build g++ qt6-base-dev libjpeg62-turbo-dev fonts-dejavu-core
                     scdoc
                     # vorn-import-sdd opens zip archives with libzip and writes GIFs with giflib
                     libzip-dev pkg-config libgif-dev)
# test: the tests and benchmarks, and the checks of an installation and the Debian package.
VORN_PACKAGES_TEST=(libgtest-dev libbenchmark-dev
                    desktop-file-utils appstream shared-mime-info libglib2.0-bin groff-base
                    file dpkg-dev
                    # the reports: HTML Tidy checks the HTML, poppler reads the PDF back
                    tidy poppler-utils
                    # the journal's kill test runs VORN on a virtual display with a
                    # window manager
                    xvfb xauth openbox)
# fuzz: the fuzz harnesses (clang and its libFuzzer and sanitizer runtimes).
VORN_PACKAGES_FUZZ=(clang libclang-rt-14-dev)

# Installs the packages of the groups named (build, test, fuzz; all three when none is
# named) that are missing, as root; as another user names them and stops.
vorn_setup() {
    local wanted=() group
    [ $# -gt 0 ] || set -- build test fuzz
    for group in "$@"; do
        case $group in
            build) wanted+=("${VORN_PACKAGES_BUILD[@]}") ;;
            test) wanted+=("${VORN_PACKAGES_TEST[@]}") ;;
            fuzz) wanted+=("${VORN_PACKAGES_FUZZ[@]}") ;;
            *) echo "vorn_setup: unknown group $group" >&2; exit 2 ;;
        esac
    done
    local missing=()
    for p in "${wanted[@]}"; do
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

# ctest names the tests it skipped but shows the output of failed ones only: prints each
# skipped test of BUILD_DIR's last ctest run with the reason it gave (GoogleTest's
# GTEST_SKIP() message, Qt Test's QSKIP message), from ctest's log.
vorn_skip_reasons() {
    local log=$1/Testing/Temporary/LastTest.log
    [ -f "$log" ] || return 0
    awk '
        /^[0-9]+\/[0-9]+ Test: / { name = $0; sub(/^[0-9]+\/[0-9]+ Test: /, "", name); next }
        /: Skipped$/ { reason = 1; next }
        reason && /^\[  SKIPPED \]/ { reason = 0; next }
        reason { lines = lines "  " name ": " $0 "\n"; next }
        /^SKIP   : / { line = $0; sub(/^SKIP   : /, "", line); lines = lines "  " name ": " line "\n" }
        END { if (lines != "") printf "Skipped tests and why:\n%s", lines }
    ' "$log"
}

# Runs every fuzzer of BUILD_DIR for SECONDS each, from a fixed seed with bounded memory,
# over a scratch corpus and the seed corpus in fuzz/corpus/ (which it never writes).
# Fails on the first finding and keeps the reproducer and the log.
vorn_fuzz_all() {
    local build=$1 seconds=$2
    local work
    work=$(mktemp -d /dev/shm/vorn-fuzz-XXXXXX 2>/dev/null || mktemp -d)
    for fuzzer in "$build"/fuzz/vorn-fuzz-*; do
        [ -f "$fuzzer" ] && [ -x "$fuzzer" ] || continue
        local name=${fuzzer##*/vorn-fuzz-}
        mkdir -p "$work/$name"
        if ! TMPDIR="$work" "$fuzzer" -seed=1 -max_total_time="$seconds" -rss_limit_mb=1024 \
            -malloc_limit_mb=1024 -timeout=10 -print_final_stats=1 \
            -artifact_prefix="$work/$name-" "$work/$name" "fuzz/corpus/$name" \
            >"$work/$name.log" 2>&1; then
            tail -n 40 "$work/$name.log" >&2
            echo "Fuzzer $name found a fault; its input and log are in $work" >&2
            return 1
        fi
        local runs
        runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$work/$name.log" | grep -o '[0-9]*$')
        echo "  $name: ${runs:-?} inputs in $seconds s, no finding"
    done
    rm -rf "$work"
}
