#!/usr/bin/env bash
# Serves the demo site on 127.0.0.1 and opens the control on the demo page. Without a display
# the page tours every capability offscreen, prints a line per step and saves screenshots;
# the run ends 0 only when every step did what it should.
set -euo pipefail
bin=${1:?usage: run-demo.sh BUILD_BIN_DIR [SCREENSHOT_DIR]}
here=$(cd "$(dirname "$0")" && pwd)
shots=$(mkdir -p "${2:-$PWD/demo-screenshots}" && cd "${2:-$PWD/demo-screenshots}" && pwd)

work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; [ -n "${VANTREL_DEMO_KEEP:-}" ] || rm -rf "$work"' EXIT

# A copy of the site, so uploads and the generated large file never touch the repository.
cp -r "$here/site" "$work/site"
mkdir -p "$work/uploads" "$work/posts" "$work/home/내 문서/프로젝트" "$work/site/files/자료실"
head -c 3145728 /dev/urandom >"$work/site/files/자료실/설치 파일.bin"
printf '분기 보고서 초안\n매출과 비용을 정리했습니다.\n' >"$work/home/내 문서/보고서.txt"
printf '이름,날짜\n단체사진.jpg,2026-11-20\n' >"$work/home/내 문서/사진 목록.csv"
printf '설계 메모\n' >"$work/home/내 문서/프로젝트/설계.txt"

# Starts the test server with its options; sets `port`.
serve() {
    local out="$work/server-$RANDOM.out"
    "$bin/vantrel-testserver" --root "$work/site" --port 0 "$@" >"$out" &
    pids+=($!)
    port=
    for _ in $(seq 50); do
        port=$(sed -n 's/^listening on \([0-9]*\)$/\1/p' "$out")
        [ -n "$port" ] && return
        sleep 0.1
    done
    echo "demo: the demo server did not start" >&2
    exit 1
}
# The server that cuts every reply after 1 MiB, for the large file.
serve --drop-after 1048576
sed -i "s/@FLAKY_PORT@/$port/" "$work/site/catalogue.xml"
serve --upload-dir "$work/uploads" --log "$work/requests.jsonl"
echo "demo: site served at http://127.0.0.1:$port/"

{
    printf 'var DEMO = {home: "%s", shots: "%s", offscreen: %s};\n' "$work/home/내 문서" "$shots" \
        "$([ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && echo false || echo true)"
    cat "$here/page.js"
} >"$work/page.js"

mode=()
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    mode=(--offscreen --window-shots "$shots/windows")
    # The tour leaves the user's remembered folders and working files alone.
    export XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache"
fi
status=0
"$bin/vantrel-host" "${mode[@]}" --url "http://127.0.0.1:$port/index.html" --timeout 120 \
    --param UIConfigXML=/ui.xml --param ServerFileListXML=/catalogue.xml --param LocalUIType=2 \
    --param Charset=UTF-8 \
    ${VANTREL_DEMO_ARGS:-} "$work/page.js" || status=$?
[ ${#mode[@]} -eq 0 ] && exit $status

# What the page cannot see for itself: the files on both sides.
check() {
    if cmp -s "$1" "$2"; then echo "demo: $3: ok"; else echo "demo: $3: FAILED"; status=1; fi
}
check "$work/home/내 문서/보고서.txt" "$(find "$work/uploads" -name 보고서.txt | head -1)" \
    "an upload arrived intact on the server"
check "$work/home/내 문서/프로젝트/설계.txt" "$(find "$work/uploads" -name 설계.txt | head -1)" \
    "a dropped folder's file arrived on the server"
check "$work/site/files/자료실/설치 파일.bin" "$work/home/내 문서/설치 파일.bin" \
    "the cut download resumed byte-identical"
check "$XDG_CACHE_HOME/Vantrel/Data/보고서 양식.xml" \
    "$(find "$work/uploads" -name '보고서 양식.xml' | head -1)" \
    "the XML form's file arrived as the control kept it"
echo "demo: screenshots in $shots"
exit $status
