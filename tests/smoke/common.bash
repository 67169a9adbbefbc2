# The start every smoke test shares, sourced with the program's path as $1: a fresh folder `work` holding the
# program and the files laid beside it, removed at the end; a private runtime folder; the real X display.
set -euo pipefail
bin=$(readlink -f "$1")
src=$(dirname "$bin")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$bin" "$work/zelto"
for d in data bkimg SOUND SKIN _readme; do [ -d "$src/$d" ] && cp -r "$src/$d" "$work/"; done
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
