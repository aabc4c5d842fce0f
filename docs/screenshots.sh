#!/usr/bin/env bash
# Takes the screenshots in docs/ of the window on the demo line under Xvfb: the start-up search, its
# result, and the connected window with High's EQ panel open. Run from the repository after a build.
set -euo pipefail
cd "$(dirname "$0")/.."
exec xvfb-run -a -s "-screen 0 1024x900x24" bash -c '
  build/app/audiodsp --demo & pid=$!
  sleep 3; import -window root -crop 750x760+0+0 docs/startup-search.png
  sleep 9; import -window root -crop 750x760+0+0 docs/search-result.png
  xdotool mousemove "$1" "$2" click 1; sleep 3
  import -window root -crop 750x760+0+0 docs/high-eq-panel.png
  kill $pid; wait $pid || true' _ "${HIGH_EQ_X:-250}" "${HIGH_EQ_Y:-166}"
