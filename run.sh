#!/usr/bin/env bash
# Installs what is missing, builds, and starts VORN on the bundled sample key.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh
# Only what building and running needs: test.sh installs the test and fuzzing tools.
vorn_setup build
# Only the two programs and what they link, configured without the tests and benchmarks
# (test.sh builds those; configuring them needs GoogleTest and Google Benchmark).
VORN_TARGETS="vorn vorn-identify" vorn_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORN_TESTS=OFF
vorn_environment
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    cat <<TXT
There is no display here (neither DISPLAY nor WAYLAND_DISPLAY is set), so VORN's
windows cannot be shown. Run this command on a Linux desktop, or under a virtual
display:  apt-get install xvfb && xvfb-run -a bash run.sh

Meanwhile, here is the command-line identifier on the sample key, replaying its
history list (keys/TREES.HIS):

TXT
    exec build/programs/vorn-identify keys/TREES.DES @keys/TREES.HIS
fi
exec build/programs/vorn keys/TREES.DES
