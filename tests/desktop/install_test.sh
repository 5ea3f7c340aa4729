#!/usr/bin/env bash
# Installs the built program into a scratch root as a package would, starts
# the installed copy headless and checks it comes up, keeps its settings in
# the user's folder and ships a valid menu entry.
# Usage: install_test.sh BUILD_DIR
set -euo pipefail
build_dir=$(cd "$1" && pwd)
scratch=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() { echo "install test: $*" >&2; [ -f "$scratch/err" ] && cat "$scratch/err" >&2; exit 1; }

root="$scratch/root"
cmake --install "$build_dir" --prefix "$root/usr" >/dev/null
for f in usr/bin/relcon4 usr/bin/relcon4-sim usr/share/doc/relcon4/README.md \
         usr/share/doc/relcon4/docs/GUIDE.ru.md usr/share/applications/relcon4.desktop \
         usr/share/icons/hicolor/scalable/apps/relcon4.svg \
         usr/share/icons/hicolor/48x48/apps/relcon4.png; do
  [ -e "$root/$f" ] || fail "missing $f"
done
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$root/usr/share/applications/relcon4.desktop" || fail "menu entry invalid"
else
  echo "install test: desktop-file-validate not installed, menu entry not validated"
fi

# The installed copy, run as a user would, in folders of its own.
export XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/run"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="relcon4.startup.debug=true" \
  "$root/usr/bin/relcon4" 2>"$scratch/err" &
pid=$!
# The splash counts down about a second; a loaded machine gets 30 s in all.
for _ in $(seq 300); do
  grep -q "main window enabled after" "$scratch/err" && break
  kill -0 "$pid" 2>/dev/null || fail "the installed program ended early"
  sleep 0.1
done
grep -q "main window enabled after" "$scratch/err" || fail "the main window was never enabled"
grep "main window enabled after" "$scratch/err"
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=
[ ! -e "$root/usr/bin/rs_m.ini" ] || fail "settings written into the bin folder"
echo "install test: passed"
