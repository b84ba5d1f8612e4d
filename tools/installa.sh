#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Vantor need, if missing.
set -euo pipefail
pacchetti=(cmake ninja-build g++ qt6-base-dev libgl-dev libgtest-dev libgmock-dev
           libbenchmark-dev clang-14 libclang-rt-14-dev libmuparser-dev
           dbus-daemon libglib2.0-bin   # the link tests' own session bus, and gdbus
           libdbus-1-dev                # the link server's connection setting
           qt6-svg-dev qt6-translations-l10n librandom123-dev libtomlplusplus-dev libboost-dev
           libopenmpi-dev openmpi-bin ccache)
mancanti=()
for p in "${pacchetti[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || mancanti+=("$p")
done
[ ${#mancanti[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${mancanti[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${mancanti[@]}"
