#!/usr/bin/env bash
# How the main window answers beside a long task, on the 32-bit program under Wine: the longest
# time it took to answer a message while a split of 2,000,000 pieces was planned, and the time
# from 停止 to the idle window (both should stay under 200 ms). The engine's own stop latency,
# natively, comes from bench/stop_latency.sh.
# Usage: bench/window_response.sh   (builds first)
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset win32 >/dev/null && cmake --build --preset win32 --target window_response >/dev/null
scripts/wine-run build/win32/bench/window_response.exe
