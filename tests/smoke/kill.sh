#!/usr/bin/env bash
# Kills the real program with SIGKILL at random moments under Xvfb: during play after a drag, while ESC saves the
# game and the settings, while SIGTERM writes the recovery file and the settings. After every kill the settings
# file and every saved game must be whole (old or new, never torn), and a recovery file must resume at the next
# start. ZELTO_KILLS sets the number of runs (default 8, about a minute).
source "$(dirname "$0")/common.bash"
picture=$(ls "$work"/data/*.jpg | head -n 1)
cp "$picture" "$work/pic.jpg"
printf 'piece_num\t4\nkaiten\tFALSE\nhanten\tFALSE\nback_type\t1\nback_color\t{0,0,255}\nview\tFALSE\tFALSE\tdata\nimage\tFALSE\n' |
  tee "$work/ZELTORC.TXT" >"$work/first.txt"
export XDG_DATA_HOME="$work/share"

# -noreset: the server must not restart when a killed program was its last client.
xvfb-run -a -s "-screen 0 1280x800x24 -noreset" bash -c '
  set -u
  cd "$0"
  runs=$1 checked=0 resumed=0
  keys="win_left win_top win_width win_height desk_w desk_h click_time click_dxdy line_num line line line line edge_n edge_v piece_num stretch_size kaiten hanten mmove image view guide back_type back_color back_img back_gazou dtsave web web web web web web web web web web kage seiretu ddraw smooth nokosu tray sound skin trace "
  fail() { echo "run $run: $1"; kill -9 $pid 2>/dev/null; exit 1; }
  # A saved game is whole when its tables end where its picture begins and the picture is the one played.
  whole_game() {
    read -r off type n size w h cols rows items < <(od -An -v -tu4 -N36 "$1" | tr -s " \n" "  ")
    [ "$off" = $((48 + cols * rows * 324 + 80 * items)) ] && tail -c +$((off + 1)) "$1" | cmp -s - pic.jpg
  }
  for run in $(seq "$runs"); do
    if [ -e zelto_recover.zlt ]; then
      ./zelto & pid=$!
      box=$(timeout 20 xdotool search --sync --onlyvisible --name "^zelto$" 2>/dev/null | head -n 1)
      # はい is the default button; the box takes the key once it can have the focus.
      for i in $(seq 20); do xdotool windowfocus --sync "$box" key Return 2>/dev/null && break; sleep 0.2; done
      resumed=$((resumed + 1))
    else
      ./zelto pic.jpg & pid=$!
    fi
    for i in $(seq 150); do
      for wid in $(xdotool search --name "^zelto" 2>/dev/null); do
        title=$(xdotool getwindowname "$wid" 2>/dev/null || true)
        case "$title" in *残り*) break 2 ;; esac
      done
      sleep 0.1
    done
    case "${title:-}" in *残り*) ;; *) fail "play did not begin" ;; esac
    [ ! -e zelto_recover.bad ] || fail "the recovery file was refused"
    sleep 0.3
    # A point well inside a piece, found on a quarter-size screenshot: anything not of the desk colour is a piece.
    at=$(import -window root png:- | convert - -scale 25% -fill white +opaque blue -fill black -opaque blue \
      -morphology Erode Disk:1 txt:- | grep -m 1 -i "#FFFFFF" | cut -d: -f1 || true)
    [ -z "$at" ] || xdotool mousemove --sync $((${at%,*} * 4 + 2)) $((${at#*,} * 4 + 2)) mousedown 1 \
      mousemove_relative --sync 40 30 mouseup 1
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
      [ ! -e "$f" ] || { whole_game "$f" || fail "$f is torn"; checked=$((checked + 1)); }
    done
  done
  echo "smoke: $runs kills in $SECONDS s, $checked files checked whole, $resumed recovery files resumed"
' "$work" "${ZELTO_KILLS:-8}"
