#!/usr/bin/env bash
# Builds the editor and its benchmarks, then prints every performance figure the project keeps
# in docs/PERFORMANCE.md: the machine, the county scan and start-up steps, whole transfers
# against the paced receiver simulator with the CPU used during a 20 s time-out, and the peak
# memory of the running editor, and the length of a test alert as it sounds. Prints numbers;
# asserts nothing.
#   scripts/benchmarks.sh [exchanges]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
ensure_packages "${ORVANE_BUILD_PACKAGES[@]}" pulseaudio pulseaudio-utils

export QT_QPA_PLATFORM=offscreen
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -m 0700 "$XDG_RUNTIME_DIR"

configure_and_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

echo "== Machine"
echo "cpu:    $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(nproc) cores"
echo "memory: $(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo)"
echo "system: $(. /etc/os-release && echo "$PRETTY_NAME"), kernel $(uname -r)"
echo "qt:     $(dpkg-query -W -f '${Version}' libqt6core6 2>/dev/null || echo unknown)"
echo "load:   $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min) when the run started"
echo

echo "== County scan and start-up steps"
build/tools/countybench/orvane-countybench data/States
echo

echo "== Transfers"
build/tools/bench-transfer/orvane-bench-transfer "${1:-5}"
echo

# The real editor, started as an owner starts it (a fresh settings store, an empty working
# folder), left to settle after the splash; the kernel's high-water mark is its peak.
echo "== Peak memory of the running editor"
mkdir "$scratch/home" "$scratch/work"
(cd "$scratch/work" && HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/.config" \
    exec "$OLDPWD/build/orvane-editor") >/dev/null 2>&1 &
editor=$!
sleep 6
if [ -r "/proc/$editor/status" ]; then
    grep -E '^(VmHWM|VmRSS)' "/proc/$editor/status" | sed 's/^/  /'
else
    echo "  the editor ended before it could be measured"
fi
kill "$editor" 2>/dev/null || true
wait "$editor" 2>/dev/null || true
echo

# One test alert played by the real window into the null sink of a private sound server, its
# monitor recorded; the length from the first burst's onset to the last clip's end is set
# against the designed one.
echo "== Test alert as it sounds"
sound="$scratch/sound"
mkdir -m 0700 "$sound"
if XDG_RUNTIME_DIR="$sound" HOME="$sound" pulseaudio -D -n --exit-idle-time=-1 \
        --load="module-null-sink sink_name=nullsink" --load=module-native-protocol-unix 2>/dev/null; then
    export PULSE_SERVER="unix:$sound/pulse/native"
    for _ in $(seq 50); do [ -S "$sound/pulse/native" ] && break; sleep 0.1; done
    for alert in RWT TOA; do
        parec -d nullsink.monitor --rate=8000 --channels=1 --format=s16le --raw >"$sound/$alert.raw" &
        recorder=$!
        sleep 1
        build/tools/bench-alert/orvane-bench-alert play "$alert" 2>/dev/null | sed 's/^/  /'
        sleep 1
        kill "$recorder"
        wait "$recorder" 2>/dev/null || true
        build/tools/bench-alert/orvane-bench-alert measure "$sound/$alert.raw" 8000 "$alert" 2>/dev/null | sed 's/^/  /'
    done
    XDG_RUNTIME_DIR="$sound" HOME="$sound" pulseaudio --kill 2>/dev/null || true
    unset PULSE_SERVER
else
    echo "  no private sound server could be started (pulseaudio): not measured"
fi
