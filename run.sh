#!/usr/bin/env bash
# Installs what is missing, builds, and identifies on the bundled sample key.
# Extra arguments are scoring actions for the identifier (see README.md).
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh
vorn_setup
vorn_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
vorn_environment
build/app/vorn-identify keys/TREES.DES "$@"
