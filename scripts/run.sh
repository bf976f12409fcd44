#!/usr/bin/env bash
# Builds everything, starts the simulated unit on its pipes and then the editor, which finds it there.
# Both use the one default device folder (KRX640_USB_DIR, else the runtime folder's krx640-usb; see the
# README). The simulated unit ends when the editor ends.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"

# The device folder the editor looks in, as the README describes it.
if [ -n "${KRX640_USB_DIR:-}" ]; then
    usb_dir="$KRX640_USB_DIR"
elif [ -n "${XDG_RUNTIME_DIR:-}" ]; then
    usb_dir="$XDG_RUNTIME_DIR/krx640-usb"
else
    usb_dir="/tmp/krx640-usb-$(id -u)"
fi

sim_pid=""
if [ -x build/bin/krx640-sim ]; then
    build/bin/krx640-sim --meters &
    sim_pid=$!
    trap '[ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true' EXIT
fi
if [ ! -x build/bin/KRX-640 ]; then
    if [ -n "$sim_pid" ]; then
        echo "The editor is not built; the simulated unit serves its device folder (Ctrl+C ends it)."
        wait "$sim_pid"
    fi
    exit 0
fi
if [ -z "${DISPLAY:-}" ]; then
    echo "The editor needs a display: run it on a desktop, or under Xvfb with: xvfb-run -a bash scripts/run.sh" >&2
    exit 1
fi
# The unit's pipes are there before the editor looks for them (a few seconds at most).
for _ in $(seq 50); do
    if [ -p "$usb_dir/unit0/PIPE00" ] && [ -p "$usb_dir/unit0/PIPE01" ]; then
        break
    fi
    sleep 0.1
done
build/bin/KRX-640 "$@"
