#!/usr/bin/env bash
# Installs and starts the stand-in driver in the current Wine prefix ($WINEPREFIX, with a
# persistent wineserver running, as scripts/wine-session.sh sets up).
#   tools/touchsim/setup-prefix.sh [BUILD_DIR]     (default build/windows)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/windows}
wine "$build/touchsim/touchsim.exe" install "$(winepath -w "$build/touchsim/touchsim.sys")"
