#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tavolen developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that the benchmarks still run, not how fast: run by ctest.
#
#   smoke.sh stages BENCH   every stage once with --smoke; fails when one
#                           exits non-zero, dies of a signal or prints no
#                           figure line ("ours=")
#   smoke.sh orphans BENCH  kills BENCH with SIGKILL while its private X
#                           server and tray are up; fails unless every process
#                           it had started ends on its own
set -u
mode=$1
bench=$2

# Stages that may be missing a desktop on this machine: they exit with 77
# then (kStageSkipped), and are skipped with a note.
optional_stages=("capture --wayland")
stages=(stream capture panel hotkey idle service reading "${optional_stages[@]}")

now() { date +%s.%N; }
seconds_since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }'; }

run_stages() {
    local log failed=0 started stage status
    log=$(mktemp)
    started=$(now)
    for stage in "${stages[@]}"; do
        local stage_started
        stage_started=$(now)
        # The stage's words split into its arguments on purpose.
        # shellcheck disable=SC2086
        "$bench" $stage --smoke >"$log" 2>&1
        status=$?
        sed "s/^/  /" "$log"
        if [ "$status" -eq 77 ] && [[ " ${optional_stages[*]} " == *" $stage "* ]]; then
            echo "SKIPPED $stage: it cannot run here (see above)"
        elif [ "$status" -ge 128 ]; then
            echo "FAILED $stage: killed by signal $((status - 128))"
            failed=1
        elif [ "$status" -ne 0 ]; then
            echo "FAILED $stage: exit code $status"
            failed=1
        elif ! grep -q "ours=" "$log"; then
            echo "FAILED $stage: no figure line"
            failed=1
        else
            echo "ok $stage ($(seconds_since "$stage_started") s)"
        fi
    done
    rm -f "$log"
    echo "all stages: $(seconds_since "$started") s"
    return "$failed"
}

# "pid ppid start-time state name" of each process; the start time tells a
# process from a later one that got the same pid.
processes() {
    local stat line rest
    for stat in /proc/[0-9]*/stat; do
        { read -r line <"$stat"; } 2>/dev/null || continue
        rest=${line##*) }
        # shellcheck disable=SC2086
        set -- $rest
        local name=${line#*(}
        echo "${line%% *} $2 ${20} $1 ${name%)*}"
    done
}

# The processes below `pid`, as "pid start-time name" lines.
descendants() {
    processes | awk -v root="$1" '
        { ppid[$1] = $2; line[$1] = $1 " " $3 " " $5 }
        END {
            found[root] = 1
            do {
                more = 0
                for (p in ppid)
                    if (!(p in found) && (ppid[p] in found)) { found[p] = 1; more = 1; print line[p] }
            } while (more)
        }'
}

# Those of the "pid start-time name" lines still running (zombies have ended).
still_running() {
    local pid start name line rest
    while read -r pid start name; do
        { read -r line <"/proc/$pid/stat"; } 2>/dev/null || continue
        rest=${line##*) }
        # shellcheck disable=SC2086
        set -- $rest
        [ "${20}" = "$start" ] && [ "$1" != Z ] && echo "$pid $start $name"
    done
}

# Polls `condition` every 0.1 s for up to $1 seconds.
wait_until() {
    local deadline
    deadline=$(($(date +%s) + $1))
    shift
    until "$@"; do
        [ "$(date +%s)" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

check_orphans() {
    # idle starts Xvfb, then (once Xvfb has said it is ready) trayer, then
    # the programs it measures. Its temporary directories outlive it.
    local scratch
    scratch=$(mktemp -d)
    TMPDIR=$scratch "$bench" idle --smoke >/dev/null 2>&1 &
    local bench_pid=$! helpers
    helpers_up() {
        helpers=$(descendants "$bench_pid")
        grep -q " Xvfb$" <<<"$helpers" && grep -q " trayer$" <<<"$helpers"
    }
    if ! wait_until 60 helpers_up; then
        echo "FAILED: no Xvfb and trayer under tavolen-bench idle within 60 s; it had:"
        echo "$helpers"
        kill -KILL "$bench_pid" 2>/dev/null
        wait "$bench_pid" 2>/dev/null
        rm -rf "$scratch"
        return 1
    fi
    # Stopped first, so that the list is whole when it dies.
    kill -STOP "$bench_pid"
    helpers=$(descendants "$bench_pid")
    echo "tavolen-bench idle ($bench_pid) had started:"
    sed "s/^/  /" <<<"$helpers"
    kill -KILL "$bench_pid"
    wait "$bench_pid" 2>/dev/null
    all_ended() { [ -z "$(still_running <<<"$helpers")" ]; }
    if ! wait_until 30 all_ended; then
        local left
        left=$(still_running <<<"$helpers")
        echo "FAILED: 30 s after tavolen-bench was killed these still run:"
        sed "s/^/  /" <<<"$left"
        # Not left behind for the next test.
        while read -r pid _; do kill -KILL "$pid" 2>/dev/null; done <<<"$left"
        rm -rf "$scratch"
        return 1
    fi
    rm -rf "$scratch"
    echo "ok: all of them ended with it"
}

case "$mode" in
stages) run_stages ;;
orphans) check_orphans ;;
*)
    echo "usage: smoke.sh stages|orphans BENCH" >&2
    exit 2
    ;;
esac
