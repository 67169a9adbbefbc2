#!/usr/bin/env bash
# The keyboard after a companion window under Xvfb: "設定" opened with Alt+O, "ピース形状" chosen from the keyboard,
# the editor closed with a click on "  キャンセル"; then the first Ctrl+O opens the file dialog and Ctrl+X ends.
source "$(dirname "$0")/common.bash"
printf 'view\tFALSE\tFALSE\tdata\nimage\tFALSE\ndtsave\tFALSE\n' >"$work/ZELTORC.TXT"

xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -u
  cd "$0"
  fail() { echo "$1"; kill $pid 2>/dev/null; exit 1; }
  ./zelto & pid=$!
  wid=$(timeout 20 xdotool search --sync --name "^zelto" | head -n 1)
  [ -n "$wid" ] || fail "no window titled zelto"
  sleep 0.5
  xdotool windowfocus --sync "$wid" key alt+o
  sleep 0.3
  xdotool key Down Down Down Down Return
  editor=$(timeout 10 xdotool search --sync --name "^ピース形状$" | head -n 1)
  [ -n "$editor" ] || fail "the shape editor did not open"
  sleep 0.3
  eval "$(xdotool getwindowgeometry --shell "$editor")"
  xdotool mousemove $((X + 440)) $((Y + 310)) click 1
  for i in $(seq 50); do xdotool search --name "^ピース形状$" >/dev/null || break; sleep 0.1; done
  xdotool search --name "^ピース形状$" >/dev/null && fail "キャンセル did not close the shape editor"
  xdotool windowfocus --sync "$wid" key ctrl+o
  dlg=$(timeout 5 xdotool search --sync --name "^選択$" | head -n 1)
  [ -n "$dlg" ] || fail "the first Ctrl+O after the shape editor closed opened no file dialog"
  xdotool windowfocus --sync "$dlg" key Escape
  sleep 0.5
  xdotool windowfocus --sync "$wid" key ctrl+x
  for i in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  kill -0 $pid 2>/dev/null && fail "Ctrl+X did not end the program"
  echo "smoke: Ctrl+O and Ctrl+X work at once after the shape editor closed"
' "$work"
