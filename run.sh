#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_packages "${ORVANE_BUILD_PACKAGES[@]}"
configure_and_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "The editor is built (build/orvane-editor) but there is no display to show it on." >&2
    echo "Run ./run.sh from a desktop session, or set DISPLAY (for example under Xvfb)." >&2
    exit 1
fi
exec build/orvane-editor "$@"
