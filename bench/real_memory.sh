#!/usr/bin/env bash
# Peak memory of the real program from start to play: a photo (made here with ImageMagick; PHOTO, 4000x3000) cut
# into PIECES (600) at full size (stretch_size 0) under Xvfb on the drawing path DDRAW (TRUE: the presenter); waits
# until play has begun (the title shows "残り"), with ZOOM_OUT=1 zooms out as far as it goes, and prints the seconds
# to play and the peak resident size (VmHWM) against LIMIT MiB (300). SCREEN sets Xvfb's screen (1280x1024x24).
set -euo pipefail
source "$(dirname "$0")/program_copy.bash"
screen=${SCREEN:-1280x1024x24} photo=${PHOTO:-4000x3000} pieces=${PIECES:-600} limit=${LIMIT:-300}
printf 'piece_num\t%s\nstretch_size\t0\nddraw\t%s\n' "$pieces" "${DDRAW:-TRUE}" >"$work/ZELTORC.TXT"
convert -size "$photo" -seed 7 plasma:fractal -quality 90 "$work/photo.jpg"
xvfb-run -a -s "-screen 0 $screen" bash -c '
  set -u
  cd "$0"
  start=$(date +%s.%N)
  ./zelto photo.jpg & pid=$!
  wid=$(timeout 60 xdotool search --sync --name "^zelto" | head -n 1)
  playing=0
  for i in $(seq 1200); do
    case "$(xdotool getwindowname "$wid" 2>/dev/null)" in *残り*) playing=1; break ;; esac
    sleep 0.1
  done
  if [ $playing = 0 ]; then echo "play did not begin within 120 s"; kill $pid; exit 1; fi
  seconds=$(echo "$(date +%s.%N) - $start" | bc)
  if [ "$5" = 1 ]; then
    for i in $(seq 16); do xdotool windowfocus --sync "$wid" key ctrl+minus; sleep 0.1; done
  fi
  sleep 1
  kib=$(awk "/VmHWM/ { print \$2 }" /proc/$pid/status)
  awk -v s="$1" -v k="$kib" -v p="$2" -v n="$3" -v l="$4" -v t="$seconds" -v d="$6" "BEGIN {
    printf \"%s photo, %s pieces, ddraw %s, screen %s: playing after %.1f s, \", p, n, d, s, t;
    printf \"peak resident %.1f MiB (limit %s MiB, ratio %.2f)\n\", k / 1024, l, k / 1024 / l }"
  kill $pid
  wait $pid 2>/dev/null  # its last writes land before the scratch folder is removed
' "$work" "$screen" "$photo" "$pieces" "$limit" "${ZOOM_OUT:-0}" "${DDRAW:-TRUE}"
