#!/usr/bin/env bash
# The core keeps no writable state at namespace scope but the installers and the fault
# seams that HACKING.md lists: every writable object of the core library (nm's B, b, D, d
# and u symbols, and weak objects, V) in namespace vorn must be named there. Type
# information and guard variables aside.
# Usage: check-core-state.sh LIBRARY HACKING.md [NM]
set -euo pipefail
library=$1 hacking=$2 nm=${3:-nm}

# The list: the lines of HACKING.md's table under "Writable state of the core" whose first
# cell is a symbol in back quotes.
allowed=$(awk '/^## Writable state of the core/ { on = 1; next } /^## / { on = 0 }
               on && /^\| `vorn::/ { split($0, cell, "`"); print cell[2] }' "$hacking" | sort -u)
if [ -z "$allowed" ]; then
    echo "no list of the core's writable state found in $hacking" >&2
    exit 1
fi

found=$("$nm" -C --defined-only "$library" |
    awk '$2 ~ /^[BbDduV]$/ { $1 = ""; $2 = ""; sub(/^  /, ""); print }' |
    grep '^vorn::' | grep -v '^typeinfo\|^guard variable\|^vtable' | sort -u)

unlisted=$(comm -23 <(printf '%s\n' "$found") <(printf '%s\n' "$allowed"))
if [ -n "$unlisted" ]; then
    echo "The core library has writable state that HACKING.md does not list:" >&2
    printf '  %s\n' "$unlisted" >&2
    echo "Keep state in the Session (or an object that owns it), or list an installer." >&2
    exit 1
fi
# A listed symbol that is gone is a stale list.
stale=$(comm -13 <(printf '%s\n' "$found") <(printf '%s\n' "$allowed"))
if [ -n "$stale" ]; then
    echo "HACKING.md lists writable state the core library no longer has:" >&2
    printf '  %s\n' "$stale" >&2
    exit 1
fi
echo "The core's writable state is the $(printf '%s\n' "$found" | wc -l) objects HACKING.md lists."
