#!/usr/bin/env bash
# Idle cost of a game in play: starts the real program on a bundled picture under Xvfb, waits until play has begun
# (the title shows "残り"), then reads the processor time the process uses during 10 s without input while the
# title clock ticks every second. Prints the share of one core (the floor is an idle process: 0 %).
set -euo pipefail
source "$(dirname "$0")/program_copy.bash"
seconds=${IDLE_SECONDS:-10}
printf 'piece_num\t100\nview\tFALSE\tFALSE\tdata\n' >"$work/ZELTORC.TXT"
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  set -u
  cd "$0"
  ./zelto data/mountains.jpg & pid=$!
  wid=$(timeout 30 xdotool search --sync --name "^zelto" | head -n 1)
  for i in $(seq 600); do
    case "$(xdotool getwindowname "$wid" 2>/dev/null)" in *残り*) break ;; esac
    sleep 0.1
  done
  sleep 1
  ticks() { awk "{print \$14 + \$15}" /proc/$pid/stat; }
  hz=$(getconf CLK_TCK)
  t0=$(ticks); sleep "$1"; t1=$(ticks)
  awk -v d=$((t1 - t0)) -v hz="$hz" -v s="$1" \
    "BEGIN { printf \"idle game window: %.2f %% of a core over %d s (limit 1 %%)\n\", 100 * d / hz / s, s }"
  kill $pid
' "$work" "$seconds"
