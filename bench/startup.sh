#!/bin/sh
# Start-up and whole-process render times of `chordella`. Each row gives, over RUNS runs (default 50), the median and the fastest wall time
# and the median CPU time (user + system) in milliseconds. The processes are spawned by
# bench/process_time, so no shell fork is counted; on a busy machine the CPU column is the one
# to compare.
#
#   bench/startup.sh [BUILD_DIR] [RUNS]
set -eu
build=${1:-build}
runs=${2:-50}
root=$(cd "$(dirname "$0")/.." && pwd)
exe="$build/bin/chordella"
timer="$build/bench/process_time"
home=$(mktemp -d)
out="$home/render.mid"
trap 'rm -rf "$home"' EXIT

song="$root/assets/songs/demo2.vxa"
style="$root/assets/styles/bossa.vxs"
"$exe" --home "$home" render "$song" --style "$style" --measures 32 -o "$out" >/dev/null

row() {
    label=$1
    shift
    printf '%-40s %8s %8s %8s\n' "$label" $("$timer" "$runs" "$@")
}

printf '%-40s %8s %8s %8s\n' "command" "median" "fastest" "cpu"
row "chordella --version" "$exe" --version
row "chordella render (32 measures) to .mid" "$exe" --home "$home" render "$song" --style "$style" --measures 32 -o "$out"
