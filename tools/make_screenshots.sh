#!/usr/bin/env bash
# Remakes the README's screenshots (docs/screenshots/*.png): builds Orvanel and
# takes them in a virtual X server (Xvfb), over a copy of the shipped data.
#   bash tools/make_screenshots.sh
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ORVANEL_BUILD_DIR:-$here/build}"

if ! command -v xvfb-run >/dev/null; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq xvfb xauth
fi
ORVANEL_BUILD_DIR="$build" bash "$here/tools/dev.sh" build
xvfb-run -a -s "-screen 0 1400x1000x24" env QT_QPA_PLATFORM=xcb \
    "$build/orvanel_screenshots" "$here/data" "$here/docs/screenshots"
