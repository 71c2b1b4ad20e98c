#!/usr/bin/env bash
# Sets up a Debian machine for Orvanel, builds it, then starts it or tests it.
#   bash tools/dev.sh start [orvanel options]   build the program and its data, then start it (simulated port by default)
#   bash tools/dev.sh test                      build everything and run every test headless
#   bash tools/dev.sh bench                     build the benchmarks and run them
#   bash tools/dev.sh build                     build everything, start nothing
#   bash tools/dev.sh install [--prefix=DIR]    build the program, then install it (cmake --install) into
#                                               DIR, ORVANEL_PREFIX, or else /usr/local for root, ~/.local otherwise
#   bash tools/dev.sh uninstall                 remove what the last install put in place (install_manifest.txt)
# ORVANEL_JOBS=N sets how many jobs the build and the tests run at once (default: every core).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ORVANEL_BUILD_DIR:-$here/build}"
jobs="${ORVANEL_JOBS:-$(nproc)}"
case "$jobs" in
    '' | *[!0-9]* | 0)
        echo "ORVANEL_JOBS must be a whole number of jobs, 1 or more (it is \"$jobs\")" >&2
        exit 2
        ;;
esac
packages=(g++ cmake ninja-build qt6-base-dev libgl-dev libgtest-dev python3 fonts-dejavu-core desktop-file-utils)

say() { echo "== $*"; }

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -eq 0 ]; then
        say "Packages: all installed"
        return 0
    fi
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null 2>&1; then
            {
                echo "== Missing packages: ${missing[*]}"
                echo "== They are installed through sudo, which this machine does not have. Either run this"
                echo "== command again as root, or install them as root yourself:"
                echo "==     su -c 'apt-get update && apt-get install -y ${missing[*]}'"
                echo "== or install sudo as root (apt-get install sudo, then adduser $(id -un) sudo and log in"
                echo "== again), then run this command again."
            } >&2
            exit 1
        fi
        sudo="sudo"
    fi
    say "Installing the missing packages: ${missing[*]}"
    say "  (apt-get update, then apt-get install${sudo:+, through sudo}; the first time takes a few minutes)"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
}

# Builds the targets named (all of them when none is named). CMake prints
# what it finds while it configures (the first time takes a while); ninja
# prints one line per step, [done/total].
build() {
    say "Configuring the build in $build"
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANEL_WERROR=ON
    local targets=()
    for t in "$@"; do targets+=(--target "$t"); done
    say "Building ${*:-everything} ($jobs jobs)"
    cmake --build "$build" -j "$jobs" "${targets[@]}"
}

# Where "install" puts the program: --prefix=DIR (or --prefix DIR), else
# ORVANEL_PREFIX, else /usr/local for root and ~/.local for anyone else.
install_prefix() {
    local prefix="${ORVANEL_PREFIX:-}"
    while [ $# -gt 0 ]; do
        case "$1" in
            --prefix=*)
                prefix="${1#--prefix=}"
                [ -n "$prefix" ] || { echo "--prefix= needs a folder (--prefix=DIR)" >&2; exit 2; }
                ;;
            --prefix)
                [ $# -ge 2 ] || { echo "--prefix needs a folder (--prefix=DIR)" >&2; exit 2; }
                prefix="$2"
                shift
                ;;
            *)
                echo "install takes only --prefix=DIR (not \"$1\")" >&2
                exit 2
                ;;
        esac
        shift
    done
    if [ -z "$prefix" ]; then
        if [ "$(id -u)" -eq 0 ]; then prefix=/usr/local; else prefix="$HOME/.local"; fi
    fi
    case "$prefix" in
        /*) echo "$prefix" ;;
        *) echo "$PWD/$prefix" ;;
    esac
}

cmd="${1:-start}"
shift || true
case "$cmd" in
    start | test | bench | build | install) ;;
    uninstall)
        # Nothing to set up or build: the manifest says what to remove.
        manifest="$build/install_manifest.txt"
        if [ ! -f "$manifest" ]; then
            echo "Nothing to uninstall: $manifest does not exist (nothing was installed from this build)." >&2
            exit 1
        fi
        say "Removing what $manifest lists (your own data folder and its files stay)"
        exec cmake -DMANIFEST="$manifest" -P "$here/tools/uninstall.cmake"
        ;;
    *)
        echo "usage: bash tools/dev.sh start|test|bench|build|install|uninstall" >&2
        exit 2
        ;;
esac
[ "$cmd" = install ] && prefix="$(install_prefix "$@")"
install_missing
case "$cmd" in
    build)
        build
        ;;
    start)
        # The program and its data/ folder only: tests and benchmarks are
        # built by "test" and "bench".
        build orvanel
        say "Starting $build/orvanel $*"
        exec "$build/orvanel" "$@"
        ;;
    test)
        # Everything, so a change that breaks a benchmark or a tool is seen too.
        build
        say "Running the tests"
        cd "$build"
        QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs" --timeout 300
        ;;
    install)
        build orvanel
        say "Installing into $prefix"
        if ! cmake --install "$build" --prefix "$prefix"; then
            echo "== Could not install into $prefix: choose a folder of yours (--prefix=DIR) or run as root." >&2
            exit 1
        fi
        say "Installed: $prefix/bin/orvanel, its launcher in the applications menu, \"man orvanel\"."
        say "Your settings and notes go to your data folder at the first start: \$XDG_DATA_HOME/orvanel/data, or ~/.local/share/orvanel/data."
        say "For a real mount: orvanel --port=... (see the README)."
        ;;
    bench)
        build benchmarks
        found=0
        for b in "$build"/bench/bench_*; do
            [ -f "$b" ] && [ -x "$b" ] || continue
            found=1
            say "Running $(basename "$b")"
            QT_QPA_PLATFORM=offscreen "$b"
        done
        [ "$found" -eq 1 ] || echo "no benchmark built"
        ;;
esac
