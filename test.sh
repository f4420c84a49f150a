#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in the normal build (then
# the published page in a browser, then installs the build into a temporary prefix and
# checks the installation and the Debian package), once built with AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh
vorn_setup build test fuzz web
vorn_environment
export QT_QPA_PLATFORM=offscreen

echo "== Build and test"
vorn_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORN_TESTS=ON
ctest --test-dir build --output-on-failure -j"$(nproc)"
vorn_skip_reasons build

echo "== The published page in a browser (headless chromium)"
vorn_browser_tests build

echo "== Install, desktop integration and Debian package"
bash tests/install/check-install.sh build

echo "== Build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
# The web engine is the same WebAssembly in every build: built and tested once, above.
vorn_build build-asan -DCMAKE_BUILD_TYPE=Debug -DVORN_SANITIZE=ON -DVORN_BENCH=OFF -DVORN_WEB=OFF
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
echo "== Fuzz each harness for ${VORN_FUZZ_SECONDS:=30} seconds (clang, libFuzzer, ASan, UBSan)"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVORN_FUZZ=ON -DVORN_BENCH=OFF -DVORN_WEB=OFF >/dev/null
cmake --build build-fuzz --target vorn-fuzzers -- -j"$(nproc)"
vorn_fuzz_all build-fuzz "$VORN_FUZZ_SECONDS"
echo "== All tests passed"
