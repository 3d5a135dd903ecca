#!/usr/bin/env bash
# Sets everything up, builds, and starts Zelmo on its default data folder.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target Zelmo

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: running Zelmo on a virtual screen (Xvfb); Ctrl+C closes it."
  # The virtual screen runs in a session of its own, so Ctrl+C reaches Zelmo
  # alone: it closes the normal way (settings written) before the screen goes.
  displayfile=$(mktemp)
  setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
  xvfbpid=$!
  trap 'kill "$xvfbpid" 2>/dev/null; rm -f "$displayfile"' EXIT
  for _ in $(seq 100); do [ -s "$displayfile" ] && break; sleep 0.1; done
  status=0
  DISPLAY=":$(head -n1 "$displayfile")" build/bin/Zelmo || status=$?
  exit "$status"
fi
exec build/bin/Zelmo
