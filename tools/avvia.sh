#!/usr/bin/env bash
# Installs what is missing, builds Vantor and its link client vantor-link, and starts Vantor.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/installa.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target vantor vantor-link
exec build/ui/vantor
