#!/usr/bin/env bash
# Peak memory of the real program from start to play: a 4000 x 3000 photo (made here with ImageMagick) cut into
# 600 pieces at full size (stretch_size 0) under Xvfb; waits until play has begun (the title shows "残り") and
# prints the peak resident size (VmHWM) against the limit of 300 MiB. SCREEN sets Xvfb's screen (1280x1024x24).
set -euo pipefail
source "$(dirname "$0")/program_copy.bash"
screen=${SCREEN:-1280x1024x24}
printf 'piece_num\t600\nstretch_size\t0\n' >"$work/ZELTORC.TXT"
convert -size 4000x3000 -seed 7 plasma:fractal -quality 90 "$work/photo.jpg"
xvfb-run -a -s "-screen 0 $screen" bash -c '
  set -u
  cd "$0"
  ./zelto photo.jpg & pid=$!
  wid=$(timeout 60 xdotool search --sync --name "^zelto" | head -n 1)
  playing=0
  for i in $(seq 1200); do
    case "$(xdotool getwindowname "$wid" 2>/dev/null)" in *残り*) playing=1; break ;; esac
    sleep 0.1
  done
  if [ $playing = 0 ]; then echo "play did not begin within 120 s"; kill $pid; exit 1; fi
  sleep 1
  kib=$(awk "/VmHWM/ { print \$2 }" /proc/$pid/status)
  awk -v s="$1" -v k="$kib" "BEGIN { printf \"4000 x 3000 photo, 600 pieces, screen %s: \", s;
    printf \"peak resident %.1f MiB (limit 300 MiB, ratio %.2f)\n\", k / 1024, k / 1024 / 300 }"
  kill $pid
' "$work" "$screen"
