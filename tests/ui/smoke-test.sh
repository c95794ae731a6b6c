#!/usr/bin/env bash
# Starts the real desktop program on a virtual X server with the hello
# example on its command line, runs it, ends it the way a desktop session
# does, and checks that it came up, ran and saved its layout on the way out.
set -euo pipefail

tessaly="$1"
program="$2"
work="$(mktemp -d)"
server_pid=
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill -9 "$app_pid" 2>/dev/null || true
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# The server picks a free display itself and writes its number when ready.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
server_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
if [ ! -s "$work/display" ]; then
    cat "$work/xvfb.log"
    echo "smoke test: the virtual X server did not start"
    exit 1
fi
display=":$(head -n1 "$work/display")"
# Wait until the display answers before the program connects to it.
for _ in $(seq 100); do
    xwininfo -root -display "$display" >/dev/null 2>&1 && break
    sleep 0.1
done

export DISPLAY="$display" HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work"
export QT_QPA_PLATFORM=xcb
"$tessaly" --no-welcome "$program" >"$work/tessaly.log" 2>&1 &
app_pid=$!

# The program is open once the caption names it; the window and its
# resources are up by then.
opened=
for _ in $(seq 300); do
    if xwininfo -root -tree 2>/dev/null | grep -q "Tessaly( .*hello.hex )"; then opened=1; break; fi
    sleep 0.1
done
if [ -z "$opened" ]; then
    cat "$work/tessaly.log"
    echo "smoke test: the main window never showed the opened program"
    exit 1
fi

kill -TERM "$app_pid"
status=0
wait "$app_pid" || status=$?
app_pid=
if [ "$status" -ne 0 ]; then
    cat "$work/tessaly.log"
    echo "smoke test: tessaly exited with status $status"
    exit 1
fi
layout="$work/config/Tessaly/inwpssz.wst"
if [ ! -s "$layout" ] || [ "$(stat -c %s "$layout")" -ne 1536 ]; then
    echo "smoke test: no start-up layout written at exit"
    exit 1
fi
if ! grep -q "hello.hex" "$layout"; then
    echo "smoke test: the layout does not name the open program"
    exit 1
fi
echo "smoke test: passed"
