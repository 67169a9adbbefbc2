#!/usr/bin/env bash
# Starts the real program under Xvfb with the sample skin on: the frameless window must have the skin's size (no
# menu bar, no frame) and a quick click on the skin's start button must ask whether to start again; "いいえ" keeps
# the game and Esc ends the program.
source "$(dirname "$0")/common.bash"
picture=$(cd "$work" && ls data/*.jpg | head -n 1)
printf 'skin\tTRUE\nview\tFALSE\tFALSE\tdata\nimage\tFALSE\npiece_num\t10\n' >"$work/ZELTORC.TXT"
# The start button's place, from the skin file's "start x y ..." line.
read -r sx sy < <(grep -a '^start' "$work/SKIN/SKIN.TXT" | awk '{print $2 + 8, $3 + 8}')

xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  set -u
  cd "$0"
  ./zelto "$1" & pid=$!
  fail() { echo "$1"; kill $pid 2>/dev/null; exit 1; }
  wid=$(timeout 30 xdotool search --sync --name "^zelto" | head -n 1)
  [ -n "$wid" ] || fail "no window titled zelto"
  for i in $(seq 300); do case "$(xdotool getwindowname "$wid")" in *残り*) break ;; esac; sleep 0.1; done
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  want=$(identify -format "%w %h" SKIN/win_0.bmp)
  [ "$WIDTH $HEIGHT" = "$want" ] || fail "the window is $WIDTH x $HEIGHT, the skin $want"
  xdotool mousemove --sync $((X + $2)) $((Y + $3)) click 1
  box=$(timeout 10 xdotool search --sync --name "^確認$" | head -n 1 || true)
  [ -n "$box" ] || fail "the start button asked nothing"
  xdotool windowfocus --sync "$box" key Escape
  sleep 0.5
  xdotool windowfocus --sync "$wid" key Escape
  for i in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  kill -0 $pid 2>/dev/null && fail "Esc did not end the program"
  wait $pid
  echo "smoke: the skinned window, its start button asked to start again, Esc ended the program"
' "$work" "$picture" "$sx" "$sy"
