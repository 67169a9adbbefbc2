#!/usr/bin/env bash
# Starts the real program under Xvfb on a picture, waits until the pieces are cut and play has begun (the title
# shows the pieces left, "残り"), drags a piece with xdotool and checks on screenshots that it moved, then presses
# Esc: the program must end, having saved the game beside the picture without asking.
source "$(dirname "$0")/common.bash"
picture=$(ls "$work"/data/*.jpg "$work"/data/*.bmp 2>/dev/null | head -n 1)
[ -n "$picture" ] || { echo "no bundled picture beside $bin"; exit 1; }
cp "$picture" "$work/pic.${picture##*.}"
# A plain blue desk, four upright pieces that lie face up, no picture list: the pieces are easy to find on it.
printf 'piece_num\t4\nkaiten\tFALSE\nhanten\tFALSE\nback_type\t1\nback_color\t{0,0,255}\nview\tFALSE\tFALSE\tdata\nimage\tFALSE\ndtsave\tTRUE\nddraw\tTRUE\n' \
  >"$work/ZELTORC.TXT"

xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  set -u
  cd "$0"
  pic=$(ls pic.* | head -n 1)
  ./zelto "$pic" & pid=$!
  fail() { echo "$1"; kill $pid 2>/dev/null; exit 1; }
  wid=$(timeout 30 xdotool search --sync --name "^zelto" | head -n 1)
  [ -n "$wid" ] || fail "no window titled zelto"
  title=""
  for i in $(seq 300); do
    title=$(xdotool getwindowname "$wid" 2>/dev/null || true)
    case "$title" in *残り*) break ;; esac
    sleep 0.1
  done
  case "$title" in *残り*) ;; *) fail "play did not begin; title: $title" ;; esac
  sleep 0.5
  import -window root before.png
  # A point well inside a piece: every pixel that is not the desk colour is a piece pixel; shrink that shape so
  # the first point left lies away from the piece edges.
  # The menu bar along the top is not desk: it is painted over with the desk colour before looking.
  convert before.png -fill "rgb(0,0,255)" -draw "rectangle 0,0 1279,40" \
    -fill white +opaque "rgb(0,0,255)" -fill black -opaque "rgb(0,0,255)" \
    -morphology Erode Disk:6 mask.png
  at=$(convert mask.png txt:- | grep -m 1 -i "#FFFFFF" | cut -d: -f1 || true)
  [ -n "$at" ] || fail "no piece found on the screen"
  x=${at%,*}; y=${at#*,}
  colour=$(convert before.png -format "%[pixel:p{$x,$y}]" info:)
  # Drag it 400 right and 300 down, into the empty lower right part of the desk.
  xdotool mousemove --sync "$x" "$y" mousedown 1
  for k in $(seq 1 20); do xdotool mousemove --sync $((x + 20 * k)) $((y + 15 * k)); sleep 0.03; done
  sleep 0.2
  xdotool mouseup 1
  sleep 0.5
  import -window root after.png
  moved=$(convert after.png -format "%[pixel:p{$((x + 400)),$((y + 300))}]" info:)
  [ "$moved" = "$colour" ] || fail "the piece did not follow the drag: $colour at $x,$y before, $moved at the target"
  changed=$(compare -metric AE before.png after.png null: 2>&1 || true)
  echo "$changed" | awk "{ exit !(\$1 + 0 > 500) }" || fail "the screen hardly changed after the drag ($changed pixels)"
  xdotool windowfocus --sync "$wid" key Escape
  for i in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  kill -0 $pid 2>/dev/null && fail "Esc did not end the program"
  wait $pid
  [ -s pic.zlt ] || { echo "Esc did not save the game as pic.zlt"; exit 1; }
  echo "smoke: play began ($title), a dragged piece moved, Esc saved the game and ended the program"
' "$work"
