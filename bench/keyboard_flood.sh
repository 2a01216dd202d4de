#!/bin/sh
# Floods the keyboard input of `chordella arranger` over JACK and shows, per rate, what was
# sent, what arrived on its output and what the arranger reported. A private JACK server
# with the dummy driver (asynchronous, as a user's server runs) is started and stopped.
#
#   bench/keyboard_flood.sh [BUILD_DIR] [COUNT] [RATE ...]   (defaults: build 100000 2000000 60000)
set -eu
build=${1:-build}
count=${2:-100000}
shift $(( $# > 2 ? 2 : $# ))
rates=${*:-2000000 60000}
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
server="flood-$$"
export JACK_DEFAULT_SERVER="$server" JACK_NO_START_SERVER=1
jackd -n "$server" -d dummy -r 48000 -p 256 >/dev/null 2>&1 &
jackd=$!
trap 'kill $jackd 2>/dev/null; wait $jackd 2>/dev/null; rm -rf "$work"' EXIT
jack_wait -w -t 30 >/dev/null
for rate in $rates; do
    "$build/bin/chordella" --home "$work" arranger --in "Chordella In" --out "Chordella Out" \
        --style "$root/assets/styles/pop16.vxs" >"$work/arranger.txt" 2>&1 </dev/null &
    arranger=$!
    "$build/bench/keyboard_flood" --rate "$rate" --count "$count"
    kill -TERM $arranger
    wait $arranger || true
    printf "reported: %s\n" "$(grep -h "lost" "$work/arranger.txt" | tr "\r\n" "  " || true)"
    [ -n "${FLOOD_VERBOSE:-}" ] && cat "$work/arranger.txt"
done
