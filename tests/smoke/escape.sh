#!/usr/bin/env bash
# Starts the real program under Xvfb in a fresh folder, waits for the window "zelto", presses Esc with xdotool and
# checks that the program ended and wrote ZELTORC.TXT with every setting line in order.
source "$(dirname "$0")/common.bash"

xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  set -u
  "$0/zelto" & pid=$!
  wid=$(timeout 30 xdotool search --sync --name "^zelto" | head -n 1)
  [ -n "$wid" ] || { echo "no window titled zelto"; kill $pid; exit 1; }
  sleep 1
  xdotool windowfocus --sync "$wid" key Escape
  for i in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  if kill -0 $pid 2>/dev/null; then echo "Esc did not end the program"; kill $pid; exit 1; fi
  wait $pid
' "$work"

keys=$(awk '{print $1}' "$work/ZELTORC.TXT" | tr '\n' ' ')
expected="win_left win_top win_width win_height desk_w desk_h click_time click_dxdy line_num line line line line \
edge_n edge_v piece_num stretch_size kaiten hanten mmove image view guide back_type back_color back_img back_gazou \
dtsave web web web web web web web web web web kage seiretu ddraw smooth nokosu tray sound skin trace "
if [ "$keys" != "$expected" ]; then
  echo "ZELTORC.TXT keys: $keys"
  echo "expected:         $expected"
  exit 1
fi
# The background file name is written in code page 932: タイル１ is 83 5e 83 43 83 8b 82 50.
grep -q $'bkimg\\\\\x83\x5e\x83\x43\x83\x8b\x82\x50.BMP' "$work/ZELTORC.TXT" || { echo "back_img not in cp932"; exit 1; }
echo "smoke: window shown, Esc ended the program, settings written"
