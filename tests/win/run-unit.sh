#!/usr/bin/env bash
# The cross-built GoogleTest suite against the real Win32 seams.
set -euo pipefail
root=$1
wine "$root/build/windows/win_tests.exe" --gtest_brief=1
