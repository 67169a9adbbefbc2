#!/usr/bin/env bash
# Starts the real program under Xvfb with trays on, opens a tray with the menu bar's "トレイを追加" by keyboard
# (Alt+F opens the first menu, two steps left reach the entry past "Web", Return chooses it), drags a piece onto
# the tray and checks that the piece left the desk and that the tray's title counts it; then Esc must end the program.
source "$(dirname "$0")/common.bash"
picture=$(ls "$work"/data/*.jpg "$work"/data/*.bmp 2>/dev/null | head -n 1)
[ -n "$picture" ] || { echo "no bundled picture beside $bin"; exit 1; }
cp "$picture" "$work/pic.${picture##*.}"
printf 'piece_num\t4\nkaiten\tFALSE\nhanten\tFALSE\nback_type\t1\nback_color\t{0,0,255}\nview\tFALSE\tFALSE\tdata\nimage\tFALSE\ndtsave\tTRUE\nddraw\tTRUE\ntray\tTRUE\n' \
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
  xdotool windowfocus --sync "$wid" key alt+f Left Left Return
  tray=$(timeout 10 xdotool search --sync --name "^トレイ<1>" | head -n 1 || true)
  [ -n "$tray" ] || fail "no tray window opened"
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$tray")"
  tx=$X; ty=$Y; tw=$WIDTH; th=$HEIGHT
  import -window root before.png
  # Pieces are what is not the desk colour, away from the tray and the menu bar; a point well inside one.
  convert before.png -fill white +opaque "rgb(0,0,255)" -fill black -opaque "rgb(0,0,255)" \
    -draw "rectangle $((tx - 4)),$((ty - 4)) $((tx + tw + 4)),$((ty + th + 4))" -draw "rectangle 0,0 1279,40" \
    -morphology Erode Disk:6 mask.png
  at=$(convert mask.png txt:- | grep -m 1 -i "#FFFFFF" | cut -d: -f1 || true)
  [ -n "$at" ] || fail "no piece found on the screen"
  x=${at%,*}; y=${at#*,}
  outside() { convert "$1" -fill "rgb(0,0,255)" -draw "rectangle $tx,$ty $((tx + tw)),$((ty + th))" \
    -fill white +opaque "rgb(0,0,255)" -format "%[fx:int(mean*w*h)]" info:; }
  pieces_before=$(outside before.png)
  cx=$((tx + tw / 2)); cy=$((ty + th / 2))
  xdotool mousemove --sync "$x" "$y" mousedown 1
  for k in $(seq 1 20); do
    xdotool mousemove --sync $((x + (cx - x) * k / 20)) $((y + (cy - y) * k / 20)); sleep 0.03
  done
  sleep 0.2
  xdotool mouseup 1
  # The drop is posted to the tray and shown on the next turns of the event loop, later on a busy machine: wait for
  # it rather than for a fixed time.
  for i in $(seq 40); do
    sleep 0.2
    import -window root after.png
    pieces_after=$(outside after.png)
    tray_title=$(xdotool getwindowname "$tray")
    case "$tray_title" in *"1 ﾋﾟｰｽ"*) [ $((pieces_before - pieces_after)) -gt 300 ] && break ;; esac
  done
  [ $((pieces_before - pieces_after)) -gt 300 ] || fail "the piece stayed on the desk ($pieces_before, then $pieces_after piece pixels)"
  case "$tray_title" in *"1 ﾋﾟｰｽ"*) ;; *) fail "the tray does not count the piece: $tray_title" ;; esac
  xdotool windowfocus --sync "$wid" key Escape
  for i in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  kill -0 $pid 2>/dev/null && fail "Esc did not end the program"
  wait $pid
  echo "smoke: a tray opened ($tray_title) and took the piece dragged onto it; Esc ended the program"
' "$work"
