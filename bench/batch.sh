#!/bin/sh
# The batch processor over real material: `batch convert` over the corpus's keyboard style
# files (6 styles per file), then `batch check`, `batch normalize` and `batch add` over
# COUNT styles (default 1000) made by copying the converted ones. Prints wall and CPU
# seconds and files per second for each run, and the errors by reason.
#
#   bench/batch.sh [BUILD_DIR] [CORPUS_STYLES] [COUNT]
set -eu
build=${1:-build}
corpus=${2:-${CHORDELLA_CORPUS:-$(cd "$(dirname "$0")/../.." && pwd)/shared/corpus}/styles}
count=${3:-1000}
exe="$build/bin/chordella"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/converted" "$work/many"

# Runs one batch and prints: label, files, wall s, cpu s, files/s.
run() {
    label=$1
    files=$2
    shift 2
    /usr/bin/time -f "%e %U %S" -o "$work/time" "$exe" --home "$work/home" batch "$@" \
        >"$work/out" 2>"$work/err" </dev/null || true
    read -r wall user sys <"$work/time"
    awk -v l="$label" -v f="$files" -v w="$wall" -v u="$user" -v s="$sys" \
        'BEGIN { printf "%-28s %6d files %7.2f s wall %6.2f s cpu %8.1f files/s\n", l, f, w, u + s, (w > 0 ? f / w : 0) }'
    tail -n 1 "$work/out"
    if [ -s "$work/err" ]; then
        echo "  errors by reason:"
        sed 's/^[^:]*: //' "$work/err" | sed 's/([^)]*)//g' | sort | uniq -c | sort -rn | head -10
    fi
}

inputs=$(find "$corpus" -type f \( -iname '*.sty' -o -iname '*.prs' -o -iname '*.bcs' -o -iname '*.sst' \
    -o -iname '*.pcs' -o -iname '*.pst' -o -iname '*.fps' -o -iname '*.scp' \) | wc -l)
run "convert (6 sets)" "$inputs" convert "$corpus" -o "$work/converted" --sets 6

i=0
while [ "$i" -lt "$count" ]; do
    for style in "$work/converted"/*.vxs; do
        [ "$i" -lt "$count" ] || break
        cp "$style" "$work/many/$i $(basename "$style")"
        i=$((i + 1))
    done
done
run "check" "$count" check "$work/many"
run "normalize" "$count" normalize "$work/many"
run "refresh" "$count" refresh "$work/many"
run "add" "$count" add "$work/many"
