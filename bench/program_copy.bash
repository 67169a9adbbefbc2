# Sourced by the whole-program measurements (bench/*.sh): a scratch copy of the program given as the first argument
# (build/zelto by default) with its data folders in $work, removed on exit, and a private runtime folder for Qt.
bin=$(readlink -f "${1:-build/zelto}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$bin" "$work/zelto"
for d in data bkimg SOUND; do [ -d "$(dirname "$bin")/$d" ] && cp -r "$(dirname "$bin")/$d" "$work/"; done
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
# The measurements read the game's own (Japanese) titles, whatever the machine's language.
export LANGUAGE=ja
