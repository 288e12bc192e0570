#!/usr/bin/env bash
# Usage: with-small-device.sh COMMAND...
# Runs COMMAND with a 1 MiB tmpfs mounted on the folder behind test drive G:, so that a copy
# can fill that device, and unmounts it afterwards. Where the host refuses the mount, COMMAND
# runs without it and finds the reason in OVELO_SMALL_DEVICE_REFUSED.
set -uo pipefail
folder=${OVELO_TEST_DRIVES:?run inside tools/test-session.sh}/G
if reason=$(mount -t tmpfs -o size=1m tmpfs "$folder" 2>&1); then
    trap 'umount -l "$folder"' EXIT
    export OVELO_SMALL_DEVICE=1
else
    export OVELO_SMALL_DEVICE_REFUSED="mount -t tmpfs -o size=1m on $folder refused: $reason"
fi
"$@"
