# shellcheck shell=bash
# shellcheck disable=SC2154  # script_name is set by the script that sources this file
# What the scripts share, written once. A script sets script_name, the prefix of every line it
# prints, and sources this file.

# Says what failed, shows the logs given after it that explain why, and ends the script.
fail() {
    echo "$script_name: FAIL: $1" >&2
    shift
    local log
    for log in "$@"; do
        [ -s "$log" ] && cat "$log" >&2
    done
    exit 1
}

say() {
    echo "$script_name: $1"
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

# Ends a process this script started, if it still runs, and waits for it so that nothing it
# holds (a display, a folder) is taken away under it.
stop() {
    local pid=$1
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
}

# A scratch folder, $scratch, that goes when the script ends, however it ends: made from
# $scratch_template where the script sets one, as mktemp -d makes it. Before it goes, the
# commands given to run_at_exit (a function of the script's, say) run in the order given.
scratch=""
at_exit_commands=()
run_at_exit() {
    at_exit_commands+=("$1")
}
cleanup() {
    local command
    for command in "${at_exit_commands[@]}"; do
        eval "$command" || true
    done
    [ -z "$scratch" ] || rm -rf "$scratch"
}
make_scratch() {
    scratch=$(mktemp -d "${scratch_template:-${TMPDIR:-/tmp}/tmp.XXXXXXXXXX}")
    trap cleanup EXIT
    trap 'exit 130' INT TERM
}

# The npm packages that the package-lock.json in folder $2 pins, installed with npm ci into the
# cache folder $1-KEY, KEY being the lock file's hash: a change to the lock installs afresh and
# nothing else ever does. No package's install script runs; further arguments go to npm ci.
# Sets npm_modules to their node_modules folder.
npm_packages() {
    local what=$1 from=$2
    shift 2
    local cache=${ORVANTA_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/orvanta}
    local key target
    key=$(sha256sum < "$from/package-lock.json" | cut -c1-12)
    target=$cache/$what-$key
    # shellcheck disable=SC2034  # for the script that calls this
    npm_modules=$target/node_modules
    [ -f "$target/.orvanta-installed" ] && return 0
    mkdir -p "$cache"
    # Two runs side by side install once: the second waits, then finds it done.
    (
        flock 9
        [ -f "$target/.orvanta-installed" ] && exit 0
        say "installing the npm packages of $from into $target"
        rm -rf "$target"
        mkdir -p "$target"
        cp "$from/package.json" "$from/package-lock.json" "$target/"
        (cd "$target" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error "$@" \
            > npm.log 2>&1) || fail "npm ci failed" "$target/npm.log"
        touch "$target/.orvanta-installed"
    ) 9> "$cache/.$what-lock"
}
