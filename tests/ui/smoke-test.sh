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

# Start a server on a display of our own and use it only once it answers.
# A display that never answers (taken, or unusable in this sandbox) is given
# up and another one tried.
display=
for attempt in 1 2 3 4 5; do
    candidate=":$((100 + RANDOM % 400))"
    [ -e "/tmp/.X${candidate#:}-lock" ] && continue
    Xvfb "$candidate" -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    server_pid=$!
    for _ in $(seq 100); do
        if xwininfo -root -display "$candidate" >/dev/null 2>&1; then display="$candidate"; break; fi
        kill -0 "$server_pid" 2>/dev/null || break
        sleep 0.1
    done
    [ -n "$display" ] && break
    echo "smoke test: display $candidate did not answer (attempt $attempt)"
    cat "$work/xvfb.log"
    kill "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
    server_pid=
done
if [ -z "$display" ]; then
    echo "smoke test: the virtual X server did not start"
    exit 1
fi

export DISPLAY="$display" HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work"
export QT_QPA_PLATFORM=xcb
"$tessaly" --no-welcome "$program" >"$work/tessaly.log" 2>&1 &
app_pid=$!

# The program is open once the caption names it; the window and its
# resources are up by then.
opened=
for _ in $(seq 300); do
    if xwininfo -root -tree 2>/dev/null | grep -q "Tessaly( .*hello.hex )"; then opened=1; break; fi
    kill -0 "$app_pid" 2>/dev/null || break
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
