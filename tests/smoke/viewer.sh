#!/usr/bin/env bash
# Starts the real program under Xvfb with the picture list on and no picture: the list must show the bundled
# pictures' thumbnails, a click on one must start its game, the guide window "全体" must appear once the pieces are
# cut, and Esc must end the program with ZELTORC.TXT written.
source "$(dirname "$0")/common.bash"
printf 'piece_num\t4\nview\tTRUE\tTRUE\tdata\nimage\tTRUE\nguide\t1\nddraw\tFALSE\n' >"$work/ZELTORC.TXT"

xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  set -u
  cd "$0"
  ./zelto & pid=$!
  fail() { echo "$1"; kill $pid 2>/dev/null; exit 1; }
  main=$(timeout 30 xdotool search --sync --name "^zelto" | head -n 1)
  list=$(timeout 30 xdotool search --sync --name "^選択$" | head -n 1)
  [ -n "$main" ] && [ -n "$list" ] || fail "no main window or no picture list"
  # The thumbnails arrive one per 100 ms: the first slot then holds a picture, not the plain background.
  for i in $(seq 50); do
    import -window "$list" list.png
    colours=$(convert list.png -crop 78x78+1+1 -format %k info:)
    [ "$colours" -gt 50 ] && break
    sleep 0.2
  done
  [ "$colours" -gt 50 ] || fail "the first thumbnail did not appear ($colours colours)"
  xdotool mousemove --window "$list" 120 40 click 1
  title=""
  for i in $(seq 300); do
    title=$(xdotool getwindowname "$main" 2>/dev/null || true)
    case "$title" in *残り*) break ;; esac
    sleep 0.1
  done
  case "$title" in *残り*) ;; *) fail "the clicked picture did not start a game; title: $title" ;; esac
  xdotool search --name "^全体$" >/dev/null || fail "no guide window after cutting"
  xdotool search --name "^選択$" >/dev/null && fail "the list stayed open after the click"
  xdotool windowfocus --sync "$main" key Escape
  for i in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  if kill -0 $pid 2>/dev/null; then fail "Esc did not end the program"; fi
  wait $pid
' "$work"
grep -q "^click_time" "$work/ZELTORC.TXT" || { echo "ZELTORC.TXT not written"; exit 1; }
echo "smoke: thumbnails shown, a click started the game, the guide opened, Esc ended the program"
