#!/bin/sh
# Start-up and whole-process render times of `chordella`, side by side with `mma -v` when it is
# installed. Each figure is the median wall time of RUNS runs (default 50) in milliseconds.
#
#   bench/startup.sh [BUILD_DIR] [RUNS]
set -eu
build=${1:-build}
runs=${2:-50}
root=$(cd "$(dirname "$0")/.." && pwd)
exe="$build/bin/chordella"
home=$(mktemp -d)
out="$home/render.mid"
trap 'rm -rf "$home"' EXIT

# The median of `runs` runs of the command, in milliseconds with two decimals.
median_ms() {
    i=0
    while [ "$i" -lt "$runs" ]; do
        start=$(date +%s%N)
        "$@" >/dev/null 2>&1 || true
        end=$(date +%s%N)
        echo $((end - start))
        i=$((i + 1))
    done | sort -n | awk '{ t[NR] = $1 } END { printf "%.2f", t[int((NR + 1) / 2)] / 1e6 }'
}

song="$root/assets/songs/demo2.vxa"
style="$root/assets/styles/bossa.vxs"
"$exe" --home "$home" render "$song" --style "$style" --measures 32 -o "$out" >/dev/null

printf '%-44s %10s\n' "command" "median ms"
printf '%-44s %10s\n' "chordella --version" "$(median_ms "$exe" --version)"
printf '%-44s %10s\n' "chordella render (32 measures) to .mid" \
    "$(median_ms "$exe" --home "$home" render "$song" --style "$style" --measures 32 -o "$out")"
if command -v mma >/dev/null 2>&1; then
    printf '%-44s %10s\n' "mma -v" "$(median_ms mma -v)"
else
    printf '%-44s %10s\n' "mma -v" "(mma not installed)"
fi
