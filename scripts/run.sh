#!/usr/bin/env bash
# Builds everything, starts the simulated unit on its pipes and then the editor, which finds it there.
# Both use the one default device folder (KRX640_USB_DIR, else the runtime folder's krx640-usb; see the
# README). The simulated unit ends when the editor ends.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"

sim_pid=""
if [ -x build/bin/krx640-sim ]; then
    build/bin/krx640-sim --meters &
    sim_pid=$!
    trap '[ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true' EXIT
fi
if [ -x build/bin/KRX-640 ]; then
    build/bin/KRX-640 "$@"
elif [ -n "$sim_pid" ]; then
    echo "The editor is not built yet; the simulated unit serves its device folder (Ctrl+C ends it)."
    wait "$sim_pid"
else
    echo "Built; nothing to start yet."
fi
