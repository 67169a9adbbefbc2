#!/usr/bin/env bash
# Kills the real program with SIGKILL at random moments under Xvfb: during play after a drag, while ESC saves the
# game and the settings, while SIGTERM writes the recovery file and the settings. After every kill the settings
# file and every saved game must be whole (old or new, never torn), and a recovery file must resume at the next
# start. ZELTO_KILLS sets the number of runs (default 8, about a minute).
set -euo pipefail
bin=$(readlink -f "$1")
src=$(dirname "$bin")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$bin" "$work/zelto"
for d in data bkimg SOUND; do [ -d "$src/$d" ] && cp -r "$src/$d" "$work/"; done
picture=$(ls "$work"/data/*.jpg "$work"/data/*.bmp 2>/dev/null | head -n 1)
[ -n "$picture" ] || { echo "no bundled picture beside $bin"; exit 1; }
cp "$picture" "$work/pic.${picture##*.}"
printf 'piece_num\t4\nkaiten\tFALSE\nhanten\tFALSE\nback_type\t1\nback_color\t{0,0,255}\nview\tFALSE\tFALSE\tdata\nimage\tFALSE\ndtsave\tTRUE\n' \
  >"$work/ZELTORC.TXT"
cp "$work/ZELTORC.TXT" "$work/first.txt"
export XDG_RUNTIME_DIR="$work/runtime" XDG_DATA_HOME="$work/share"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM

xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  set -u
  cd "$0"
  runs=$1 pic=$(ls pic.* | head -n 1) checked=0 resumed=0
  fail() { echo "run $run: $1"; kill -9 $pid 2>/dev/null; exit 1; }
  keys="win_left win_top win_width win_height desk_w desk_h click_time click_dxdy line_num line line line line edge_n edge_v piece_num stretch_size kaiten hanten mmove image view guide back_type back_color back_img back_gazou dtsave web web web web web web web web web web kage seiretu ddraw smooth nokosu tray sound skin trace "
  # A saved game is whole when its tables end where its picture begins and the picture is the one played.
  whole_game() {
    read -r off type n size w h cols rows items < <(od -An -v -tu4 -N36 "$1" | tr -s " \n" "  ")
    [ "$off" = $((48 + cols * rows * 324 + 80 * items)) ] && tail -c +$((off + 1)) "$1" | cmp -s - "$pic"
  }
  for run in $(seq "$runs"); do
    if [ -e zelto_recover.zlt ]; then
      ./zelto & pid=$!
      box=$(timeout 20 xdotool search --sync --onlyvisible --name "^zelto$" 2>/dev/null | head -n 1)
      [ -n "$box" ] || fail "no recovery question"
      # はい is the default button; the box takes the key once it can have the focus.
      for i in $(seq 20); do
        xdotool windowfocus --sync "$box" key Return 2>/dev/null && break
        sleep 0.2
      done
      resumed=$((resumed + 1))
    else
      ./zelto "$pic" & pid=$!
    fi
    title="" wid=""
    for i in $(seq 150); do
      for w in $(xdotool search --name "^zelto" 2>/dev/null); do
        title=$(xdotool getwindowname "$w" 2>/dev/null || true) wid=$w
        case "$title" in *残り*) break 2 ;; esac
      done
      sleep 0.1
    done
    case "$title" in *残り*) ;; *) fail "play did not begin; title: $title" ;; esac
    [ ! -e zelto_recover.bad ] || fail "the recovery file was refused"
    sleep 0.3
    import -window root shot.png
    # A point well inside a piece, found on a quarter-size copy: anything not of the desk colour is a piece.
    at=$(convert shot.png -scale 25% -fill white +opaque "rgb(0,0,255)" -fill black -opaque "rgb(0,0,255)" \
      -morphology Erode Disk:1 txt:- | grep -m 1 -i "#FFFFFF" | cut -d: -f1 || true)
    if [ -n "$at" ]; then
      x=$((${at%,*} * 4 + 2)) y=$((${at#*,} * 4 + 2))
      xdotool mousemove --sync "$x" "$y" mousedown 1 mousemove --sync $((x + 40)) $((y + 30)) mouseup 1
    fi
    case $((RANDOM % 3)) in
      0) sleep "0.$((RANDOM % 10))" ;;
      1) xdotool windowfocus --sync "$wid" key Escape; sleep "0.0$((RANDOM % 10))" ;;
      2) kill -TERM $pid; sleep "0.0$((RANDOM % 10))" ;;
    esac
    kill -9 $pid 2>/dev/null || true
    wait $pid 2>/dev/null || true
    # The settings are the first file still, or one that the program wrote whole.
    cmp -s ZELTORC.TXT first.txt || [ "$(awk "{print \$1}" ZELTORC.TXT | tr "\n" " ")" = "$keys" ] ||
      fail "ZELTORC.TXT is torn"
    checked=$((checked + 1))
    for f in *.zlt; do
      [ -e "$f" ] || continue
      whole_game "$f" || fail "$f is torn"
      checked=$((checked + 1))
    done
  done
  echo "smoke: $runs kills in $SECONDS s, $checked files checked whole, $resumed recovery files resumed"
' "$work" "${ZELTO_KILLS:-8}"
