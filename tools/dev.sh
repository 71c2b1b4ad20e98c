#!/usr/bin/env bash
# Sets up a Debian machine for Orvanel, builds it, then starts it or tests it.
#   bash tools/dev.sh start [orvanel options]   build and start (simulated port by default)
#   bash tools/dev.sh test                      build and run every test headless
#   bash tools/dev.sh bench                     build and run the benchmarks
#   bash tools/dev.sh build                     build only
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ORVANEL_BUILD_DIR:-$here/build}"
packages=(g++ cmake ninja-build qt6-base-dev libgl-dev libgtest-dev python3 fonts-dejavu-core)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

build() {
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANEL_WERROR=ON >/dev/null
    cmake --build "$build" -j "$(nproc)"
}

cmd="${1:-start}"
shift || true
install_missing
build
case "$cmd" in
    build)
        ;;
    start)
        exec "$build/orvanel" "$@"
        ;;
    test)
        cd "$build"
        QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" --timeout 300
        ;;
    bench)
        found=0
        for b in "$build"/bench/bench_*; do
            [ -f "$b" ] && [ -x "$b" ] || continue
            found=1
            QT_QPA_PLATFORM=offscreen "$b"
        done
        [ "$found" -eq 1 ] || echo "no benchmark built"
        ;;
    *)
        echo "usage: bash tools/dev.sh start|test|bench|build" >&2
        exit 2
        ;;
esac
