#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks, builds, then starts the editor
# ("./setup.sh run") or runs every test headless ("./setup.sh test").
set -euo pipefail
cd "$(dirname "$0")"

packages=(
    cmake ninja-build g++ clang-14 libclang-rt-14-dev
    qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-svg-dev qt6-qpa-plugins
    qt6-translations-l10n
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-noto-cjk xvfb xauth xdotool imagemagick
)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
    cmake --preset default >/dev/null
    cmake --build --preset default
}

case "${1:-}" in
    run)
        install_missing
        build
        exec build/default/app/dedevav-flow "${@:2}"
        ;;
    test)
        install_missing
        build
        QT_QPA_PLATFORM=offscreen ctest --preset default
        ;;
    *)
        echo "usage: $0 run | test" >&2
        exit 2
        ;;
esac
