#!/usr/bin/env bash
# Starts the demo site on 127.0.0.1 and opens the control on the demo page. Without a display
# the page runs offscreen and prints what it did.
set -euo pipefail
bin=${1:?usage: run-demo.sh BUILD_BIN_DIR}
here=$(cd "$(dirname "$0")" && pwd)

server_out=$(mktemp)
"$bin/vantrel-testserver" --root "$here/site" --port 0 >"$server_out" &
server=$!
trap 'kill $server 2>/dev/null; rm -f "$server_out"' EXIT
for _ in $(seq 50); do
    port=$(sed -n 's/^listening on \([0-9]*\)$/\1/p' "$server_out")
    [ -n "$port" ] && break
    sleep 0.1
done
[ -n "${port:-}" ] || { echo "demo: the demo server did not start" >&2; exit 1; }
echo "demo: site served at http://127.0.0.1:$port/"

mode=()
[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] || mode=(--offscreen)
"$bin/vantrel-host" "${mode[@]}" --url "http://127.0.0.1:$port/index.html" \
    --param UIConfigXML=/ui.xml --param ServerFileListXML=/catalogue.xml --param LocalUIType=2 \
    ${VANTREL_DEMO_ARGS:-} "$here/page.js"
