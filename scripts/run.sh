#!/usr/bin/env bash
# Installs what is missing, builds, makes the demo game folder and starts a
# program in it: scripts/run.sh brackel (or velloc, kestrin)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-brackel}
case "$program" in
  brackel|velloc|kestrin) ;;
  *) echo "usage: $0 brackel|velloc|kestrin" >&2; exit 2 ;;
esac

"$root/scripts/install.sh"
"$root/scripts/build.sh" build -DCMAKE_BUILD_TYPE=RelWithDebInfo

demo="$root/build/demo-game"
echo "Starting $program in $demo"
cd "$demo"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: running under xvfb-run (nothing will be visible)." >&2
  exec xvfb-run -a "$root/build/$program/$program"
fi
exec "$root/build/$program/$program"
