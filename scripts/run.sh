#!/usr/bin/env bash
# Sets everything up, builds, and starts Zelmo on its default data folder.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target Zelmo

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: running Zelmo on a virtual screen (xvfb-run); Ctrl+C closes it."
  exec xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/Zelmo
fi
exec build/bin/Zelmo
