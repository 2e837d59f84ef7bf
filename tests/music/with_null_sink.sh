#!/bin/sh
# Runs a command with a PulseAudio daemon of its own, whose only sink is a null sink, so that
# music tests play real audio without a sound card and without touching the user's server.
# Exits 77 (a skip for CTest) when no such daemon can be started here.
set -u

base=$(mktemp -d) || exit 1
export HOME="$base" XDG_RUNTIME_DIR="$base/run"
unset PULSE_SERVER PULSE_SINK
mkdir -m 700 "$XDG_RUNTIME_DIR"

daemon=
cleanup() {
    if [ -n "$daemon" ]; then
        kill "$daemon" 2>/dev/null
        wait "$daemon" 2>/dev/null
    fi
    rm -rf "$base"
}
trap cleanup EXIT
trap 'exit 143' TERM INT

if ! command -v pulseaudio >/dev/null || ! command -v pactl >/dev/null; then
    echo "skipped: pulseaudio and pactl are needed for a private null sink" >&2
    exit 77
fi
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --log-target=stderr \
    -L module-native-protocol-unix -L "module-null-sink sink_name=nullsink" \
    >"$base/pulseaudio.log" 2>&1 &
daemon=$!

tries=0
until pactl info >/dev/null 2>&1; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ] || ! kill -0 "$daemon" 2>/dev/null; then
        echo "skipped: the private PulseAudio daemon did not start:" >&2
        cat "$base/pulseaudio.log" >&2
        exit 77
    fi
    sleep 0.1
done

"$@"
