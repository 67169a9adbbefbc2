#!/usr/bin/env bash
# The menu bar under Xvfb: "ﾌｧｲﾙ" → "開く..." by keyboard, a picture typed into the Qt file dialog, play begins;
# "設定" → "ﾋﾟｰｽ" → "50", Esc, and ZELTORC.TXT holds 50. Then the installed program (cmake --install, what
# `make install` runs) starts from its launcher and reaches play.
source "$(dirname "$0")/common.bash"
build=$(dirname "$bin")
picture=$(ls "$work"/data/*.jpg | head -n 1)
cp "$picture" "$work/pic.jpg"
printf 'piece_num\t4\nstretch_size\t200\nview\tFALSE\tFALSE\tdata\nimage\tFALSE\ndtsave\tFALSE\n' >"$work/ZELTORC.TXT"
# Installing writes build/install_manifest.txt, which `make uninstall` reads: the player's own one is kept.
manifest="$build/install_manifest.txt"
[ -f "$manifest" ] && cp "$manifest" "$work/manifest.kept"
cmake --install "$build" --prefix "$work/prefix" >/dev/null
if [ -f "$work/manifest.kept" ]; then cp "$work/manifest.kept" "$manifest"; else rm -f "$manifest"; fi

xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -u
  cd "$0"
  fail() { echo "$1"; kill $pid 2>/dev/null; exit 1; }
  wait_title() {  # window, pattern
    for i in $(seq 300); do
      title=$(xdotool getwindowname "$1" 2>/dev/null || true)
      case "$title" in *$2*) return 0 ;; esac
      sleep 0.1
    done
    return 1
  }
  ./zelto & pid=$!
  wid=$(timeout 20 xdotool search --sync --name "^zelto" | head -n 1)
  [ -n "$wid" ] || fail "no window titled zelto"
  sleep 0.5
  xdotool windowfocus --sync "$wid" key alt+f
  sleep 0.3
  xdotool key Return
  dlg=$(timeout 10 xdotool search --sync --name "^選択$" | head -n 1)
  [ -n "$dlg" ] || fail "the file dialog did not open"
  sleep 0.5
  xdotool windowfocus --sync "$dlg" type --delay 20 "$PWD/pic.jpg"
  xdotool key Return
  wait_title "$wid" 残り || fail "play did not begin on the chosen picture; title: $title"
  xdotool windowfocus --sync "$wid" key alt+o
  sleep 0.3
  xdotool key Return Down Down Down Return
  box=$(timeout 10 xdotool search --sync --name "^設定$" | head -n 1)
  [ -n "$box" ] || fail "no notice that the count applies to the next game"
  xdotool windowfocus --sync "$box" key Return
  sleep 0.3
  xdotool windowfocus --sync "$wid" key Escape
  for i in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  kill -0 $pid 2>/dev/null && fail "Esc did not end the program"
  grep -q "^piece_num[[:space:]]*50" ZELTORC.TXT || { echo "ZELTORC.TXT does not hold 50 pieces"; exit 1; }

  prefix/bin/zelto "$PWD/pic.jpg" & pid=$!
  wid=$(timeout 20 xdotool search --sync --name "^zelto" | head -n 1)
  [ -n "$wid" ] || fail "the installed launcher opened no window"
  wait_title "$wid" 残り || fail "the installed program did not reach play; title: $title"
  [ -f prefix/share/applications/zelto.desktop ] || fail "no desktop entry"
  kill $pid
  echo "smoke: opened a picture from the menu, 50 pieces kept, the installed program plays"
' "$work"
