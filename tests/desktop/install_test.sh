#!/usr/bin/env bash
# Installs the built program into a scratch root as a package would, starts
# the installed copy headless and checks it comes up, keeps its settings out
# of its bin folder and ships a valid menu entry. When scripts/package has
# built a .deb from the current build, its unpacked contents get the same checks.
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

# check_root ROOT: the files are in place, the menu entry validates, and the
# program starts and enables its main window.
check_root() {
  local root=$1
  for f in usr/bin/relcon4 usr/bin/relcon4-sim usr/bin/relcon4-cli \
           usr/share/man/man1/relcon4-cli.1.gz usr/share/doc/relcon4/README.md \
           usr/share/doc/relcon4/docs/GUIDE.ru.md usr/share/doc/relcon4/docs/udev/99-relcon4.rules \
           usr/share/applications/relcon4.desktop \
           usr/share/icons/hicolor/scalable/apps/relcon4.svg \
           usr/share/icons/hicolor/48x48/apps/relcon4.png; do
    [ -e "$root/$f" ] || fail "missing $f in $root"
  done
  # The command line runs without a display.
  env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/relcon4-cli" --help >/dev/null ||
    fail "relcon4-cli --help failed"
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root/usr/share/applications/relcon4.desktop" || fail "menu entry invalid"
  else
    echo "install test: desktop-file-validate not installed, menu entry not validated"
  fi

  # The installed copy, run as a user would, in folders of its own.
  local home="$scratch/home-$(basename "$root")"
  mkdir -p "$home/config" "$home/run"
  chmod 700 "$home/run"
  XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/run" QT_QPA_PLATFORM=offscreen \
    QT_LOGGING_RULES="relcon4.startup.debug=true" "$root/usr/bin/relcon4" 2>"$scratch/err" &
  pid=$!
  # The splash counts down about a second; a loaded machine gets 30 s in all.
  for _ in $(seq 300); do
    grep -q "main window enabled after" "$scratch/err" && break
    kill -0 "$pid" 2>/dev/null || fail "the installed program ended early"
    sleep 0.1
  done
  grep -q "main window enabled after" "$scratch/err" || fail "the main window was never enabled"
  echo "install test: $(basename "$root"): $(grep -m1 "main window enabled after" "$scratch/err")"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  pid=
  [ ! -e "$root/usr/bin/rs_m.ini" ] || fail "settings written into the bin folder"
}

cmake --install "$build_dir" --prefix "$scratch/installed/usr" >/dev/null
check_root "$scratch/installed"

deb=$(ls -t "$build_dir"/relcon4_*.deb 2>/dev/null | head -n1 || true)
if [ -n "$deb" ] && [ "$deb" -nt "$build_dir/relcon4" ]; then
  dpkg-deb -x "$deb" "$scratch/package"
  dpkg-deb --field "$deb" Depends | grep -q "libqt6widgets6" || fail "$deb does not depend on Qt"
  dpkg-deb --field "$deb" Depends | grep -q "fonts-dejavu-core" || fail "$deb lacks the fonts"
  dpkg-deb --field "$deb" Depends | grep -q "qt6-translations-l10n" ||
    fail "$deb lacks Qt's Russian translation"
  check_root "$scratch/package"
fi
echo "install test: passed"
