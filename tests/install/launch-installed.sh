#!/usr/bin/env bash
# Installs the build into a temporary prefix, starts the installed program
# on a private Xvfb display with a document named on its command line, as
# the file manager does, and waits for that document's window to appear.
#   launch-installed.sh BUILD_DIR
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi
build="$1"
root="$(mktemp -d)"
pid=""
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
  rm -rf "$root"
}
trap cleanup EXIT
prefix="$root/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

# A home of its own: no settings, caches or running copy of another run.
export HOME="$root/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_CACHE_HOME="$HOME/.cache" XDG_DATA_HOME="$HOME/.local/share"
export XDG_RUNTIME_DIR="$root/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
document="$root/launch-check.gelcoat"
"$prefix/bin/gelcoat-render" --save-document "$document" >/dev/null

export QT_QPA_PLATFORM=xcb
"$prefix/bin/gelcoat" "$document" >"$root/gelcoat.log" 2>&1 &
pid=$!
# The title has an em dash: in the C locale xwininfo prints a conversion
# failure instead of the title, so it runs in a UTF-8 locale whatever the
# caller's is.
windows() { LC_ALL=C.UTF-8 xwininfo -root -tree 2>/dev/null; }
for _ in $(seq 1 150); do
  if windows | grep -q 'launch-check\.gelcoat — Gelcoat'; then
    echo "the installed program shows the document:"
    windows | grep 'launch-check\.gelcoat'
    exit 0
  fi
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "launch-installed: the program ended before its window appeared" >&2
    cat "$root/gelcoat.log" >&2
    exit 1
  fi
  sleep 0.2
done
echo "launch-installed: no window for the document after 30 s" >&2
cat "$root/gelcoat.log" >&2
exit 1
