#!/usr/bin/env bash
# Starts the desktop program from the build folder.
set -euo pipefail
build_dir=${1:-build}
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No graphical display is available (DISPLAY is not set), so the program cannot open its window." >&2
    exit 1
fi
exec "$build_dir/bin/velmora"
