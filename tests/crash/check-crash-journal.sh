#!/usr/bin/env bash
# Kills a VORN that is identifying, for real, with SIGKILL at random moments (at rest, in
# the middle of a long history list's load, in the middle of a Reset), and restarts it each
# time: every restart
# must restore the scores and groups of a step that had ended, never a torn or partial
# state, and find its settings. Runs on a virtual X display with a window manager when
# Xvfb and openbox are there; otherwise on Qt's offscreen platform, and says so.
# Usage: check-crash-journal.sh WORKER [KILLS]
set -euo pipefail
worker=$1
kills=${2:-24}
work=$(mktemp -d)
trap 'kill %1 %2 2>/dev/null || true; rm -rf "$work"' EXIT

if command -v Xvfb >/dev/null && command -v openbox >/dev/null; then
    display=:$((100 + RANDOM % 800))
    Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    sleep 1
    DISPLAY=$display openbox >/dev/null 2>&1 &
    sleep 1
    export DISPLAY=$display QT_QPA_PLATFORM=xcb
    # On a real display the X, font and D-Bus libraries keep memory to the end that
    # LeakSanitizer reports as leaks of ours; the offscreen tests check our leaks.
    export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0
    echo "on Xvfb $display with openbox"
else
    export QT_QPA_PLATFORM=offscreen
    echo "Xvfb or openbox is missing: on the offscreen platform"
fi
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$work}

failed=0
during_load=0
during_reset=0
for ((run = 1; run <= kills; run++)); do
    dir=$work/run$run
    mkdir -p "$dir"
    # Every third run kills itself inside a long history list's load, every third inside
    # a Reset; the others are killed from outside at a random moment.
    case $((run % 3)) in
        1) plan=load ;;
        2) plan=reset ;;
        *) plan= ;;
    esac
    "$worker" work "$dir" "$run" $plan >/dev/null 2>&1 &
    pid=$!
    if [ -z "$plan" ]; then
        sleep "0.$((3 + RANDOM % 7))$((RANDOM % 10))"
        kill -KILL "$pid" 2>/dev/null || true
    fi
    # A plan that the worker never met (it runs on) ends with a kill after a while.
    for ((waited = 0; waited < 300; waited++)); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
    { wait "$pid"; } 2>/dev/null || true
    last=$(tail -n 1 "$dir/log" 2>/dev/null || true)
    [ "$last" = "doing @LONG.HIS" ] && during_load=$((during_load + 1))
    [ "$last" = "doing reset" ] && during_reset=$((during_reset + 1))
    if ! result=$("$worker" check "$dir" 2>"$dir/check.err"); then
        echo "run $run: FAILED: $result"
        tail -n 20 "$dir/check.err"
        failed=1
    else
        echo "run $run: $result"
    fi
done
echo "$kills kills, $during_load during a history list's load, $during_reset during a Reset"
if ((during_load == 0 || during_reset == 0)); then
    echo "no kill came during a load or a Reset: the check did not check what it should" >&2
    failed=1
fi
exit $failed
