#!/usr/bin/env bash
# Measures how long gelcoat takes from being started to showing its first
# window, on a private Xvfb display with a fresh settings folder in which
# automatic version checks are off (so that no question is asked).
#
#   tools/measure-startup/measure-startup.sh BUILD_DIR [RUNS]
#
# Prints one time per run in milliseconds, then the median.
set -euo pipefail
build="${1:?usage: measure-startup.sh BUILD_DIR [RUNS]}"
runs="${2:-5}"
binary="$build/app/gelcoat"
[ -x "$binary" ] || { echo "no $binary; build the gelcoat target first" >&2; exit 1; }

config="$(mktemp -d)"
# A display number the server picks itself, so that no other display is hit.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$config/display" >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$config"' EXIT
for _ in $(seq 100); do [ -s "$config/display" ] && break; sleep 0.05; done
display=":$(head -n1 "$config/display")"

mkdir -p "$config/Gelcoat"
printf '[General]\nDoVersionCheck=NO\n' > "$config/Gelcoat/Gelcoat.conf"

times=()
for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    DISPLAY="$display" XDG_CONFIG_HOME="$config" QT_QPA_PLATFORM=xcb "$binary" >/dev/null 2>&1 &
    app=$!
    until xwininfo -display "$display" -name Untitled 2>/dev/null | grep -q 'IsViewable'; do
        kill -0 "$app" 2>/dev/null || { echo "gelcoat ended before showing a window" >&2; exit 1; }
        sleep 0.002
    done
    end=$(date +%s%N)
    kill "$app"; wait "$app" 2>/dev/null || true
    times+=($(( (end - start) / 1000000 )))
    echo "${times[-1]} ms"
done
printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print "median " a[int((NR+1)/2)] " ms"}'
