# shellcheck shell=bash
# shellcheck disable=SC2154  # check_name is set by the check that sources this file
# What the package checks share. A check sets check_name, the prefix of every line it prints,
# and sources this file.

# Says what failed, shows the logs given after it that explain why, and ends the check.
fail() {
    echo "$check_name: FAIL: $1" >&2
    shift
    local log
    for log in "$@"; do
        [ -s "$log" ] && cat "$log" >&2
    done
    exit 1
}

say() {
    echo "$check_name: $1"
}

# Bounded polling: at most $1 tenths of a second for the command that follows to succeed.
wait_for() {
    local tries=$1
    shift
    until "$@"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}
