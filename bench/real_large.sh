#!/usr/bin/env bash
# The largest puzzle in the real program on both drawing paths: a 6000 x 4000 photo at 10000 pieces, zoomed out as
# far as it goes once play has begun, against 700 MiB (bench/real_memory.sh does the measuring).
set -euo pipefail
status=0
for ddraw in TRUE FALSE; do
  PHOTO=6000x4000 PIECES=10000 LIMIT=700 ZOOM_OUT=1 DDRAW=$ddraw "$(dirname "$0")/real_memory.sh" "$@" || status=1
done
exit $status
