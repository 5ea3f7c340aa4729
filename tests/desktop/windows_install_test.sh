#!/usr/bin/env bash
# The Windows installer under Wine, in a fresh prefix: a silent install per
# user, then per machine. Each time the Start-menu entry points at the
# program, the command line from the install folder reads the simulated unit
# and writes its protocol, the program starts and reaches its enabled main
# window (on a private X server), and a silent uninstall removes what was installed, the entry and the
# registration, leaving the files the program made (rs_m.ini) where they were.
# Run by scripts/windows --test:
#   windows_install_test.sh SETUP.EXE ZIP_FOLDER UNIT_DEVICE
# UNIT_DEVICE is the device a running relcon4-sim answers on; it becomes COM5.
set -euo pipefail
setup=$1 folder=$2 unit_device=$3
work=$(mktemp -d /tmp/relcon4-setup-XXXXXX)
# winemenubuilder would put the Start-menu entries into this machine's own menu.
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
finish() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap finish EXIT
fail() {
  echo "windows installer: $*" >&2
  [ ! -f "$work/err" ] || tail -5 "$work/err" >&2
  exit 1
}

start=$SECONDS
wineboot -i >/dev/null 2>&1
wine reg add 'HKLM\Software\Wine\Ports' /v COM5 /t REG_SZ /d "$unit_device" /f >/dev/null 2>&1
wineserver -w
rm -f "$WINEPREFIX"/dosdevices/com[0-9]*
echo "windows installer: fresh Wine prefix in $((SECONDS - start)) s"

key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Relcon4'
# A value of the uninstall entry under root (HKCU or HKLM), empty when missing.
entry_value() {
  { wine reg query "$1\\$key" /v "$2" 2>/dev/null || true; } | tr -d '\r' |
    sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
installed_files() { (cd "$folder" && find . -type f | sed 's|^\./||'); }

# check_mode MODE ROOT PLACE MENU: MODE is the installer's switch, ROOT where
# it registers, PLACE the tail of the install folder, MENU the Start menu's
# folder under drive_c.
check_mode() {
  local mode=$1 root=$2 place=$3 menu=$4 t=$SECONDS
  timeout 300 wine "$setup" /S "/$mode" || fail "$mode: the installer failed"
  wineserver -w
  local took=$((SECONDS - t))
  local instdir_win unix
  instdir_win=$(entry_value "$root" InstallLocation)
  [ -n "$instdir_win" ] || fail "$mode: no uninstall entry under $root"
  [[ "$instdir_win" == *"$place" ]] || fail "$mode: installed into $instdir_win, not …$place"
  unix=$(winepath -u "$instdir_win" 2>/dev/null)
  while read -r f; do
    [ -f "$unix/$f" ] || fail "$mode: $f not installed"
  done < <(installed_files)
  echo "windows installer: $mode: installed into $instdir_win in $took s ($(du -sk "$unix" | cut -f1) KB)"

  # The Start-menu entries: the program (its folder and icon) and the guide.
  local link=$WINEPREFIX/drive_c/$menu/Relcon4.lnk
  [ -f "$link" ] || fail "$mode: no Start-menu entry $menu/Relcon4.lnk"
  local texts
  texts=$(strings -a "$link"; strings -a -e l "$link")
  grep -qiF "$instdir_win\\relcon4.exe" <<<"$texts" ||
    fail "$mode: the Start-menu entry does not point at $instdir_win\\relcon4.exe"
  # Per user it starts in the documents, where QV1M.ini belongs; per machine
  # in the program's folder, which the program leaves for the documents.
  local starts_in=$instdir_win
  [ "$mode" = AllUsers ] || starts_in='\Documents'
  grep -qiF "$starts_in" <<<"$texts" || fail "$mode: the Start-menu entry does not start in $starts_in"
  [ -f "$WINEPREFIX/drive_c/$menu/Relcon4 - руководство пользователя.lnk" ] ||
    fail "$mode: no Start-menu entry for the guide"

  # The command line from the install folder, as a script would run it.
  local out_win
  out_win=$(winepath -w "$work" 2>/dev/null)
  rm -f "$work/unit.qvf" "$work/unit.pdf"
  wine "$unix/relcon4-cli.exe" ro4d read --port COM5 -o "$out_win\\unit.qvf" >/dev/null ||
    fail "$mode: relcon4-cli could not read COM5"
  [ "$(stat -c %s "$work/unit.qvf")" -eq 148 ] || fail "$mode: the unit's file is not 148 bytes"
  wine "$unix/relcon4-cli.exe" ro4d report --file "$out_win\\unit.qvf" -o "$out_win\\unit.pdf" \
    >/dev/null || fail "$mode: relcon4-cli wrote no protocol"
  [ "$(head -c 5 "$work/unit.pdf")" = "%PDF-" ] || fail "$mode: the protocol is not a PDF"
  # Its text is searchable, in Cyrillic: the fonts went into the PDF on Windows too.
  local text
  text=$(pdftotext "$work/unit.pdf" -) || fail "$mode: pdftotext could not read the protocol"
  [[ $text == *"Протокол настройки блока RO-4D"* ]] ||
    fail "$mode: the protocol's text does not read back"

  # The program itself, with the shipped windows platform on a private X
  # server, watched from X (Wine gives its log no console): its splash shows
  # and goes, which it does once the main window is enabled, and the main
  # window stays.
  local version
  version=$(entry_value "$root" DisplayVersion)
  # A session the command line started has no display: the program gets one of its own.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w
  t=$SECONDS
  xvfb-run -a -s "-screen 0 1366x768x24" bash -c '
    wine "$1" >/dev/null 2>&1 &
    splash=no
    for _ in $(seq 1200); do
      shown=$(xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | tr "\n" "|" || true)
      case "|$shown" in *"|Запуск программы|"*) splash=yes ;; *"|Relcon4 $2|"*) [ "$splash" = no ] || exit 0 ;; esac
      sleep 0.1
    done
    echo "windows shown: $shown (splash seen: $splash); all: $(xdotool search --name . getwindowname %@ 2>/dev/null | tr "\n" "|")" >&2
    exit 1' _ "$unix/relcon4.exe" "$version" 2>"$work/err" ||
    fail "$mode: relcon4.exe did not reach its main window"
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w
  echo "windows installer: $mode: relcon4.exe showed its splash, then the main window" \
    "\"Relcon4 $version\" ($((SECONDS - t)) s)"

  # What the program made in its folder stays; what the installer put there goes.
  local made
  made=$(cd "$unix" && find . -type f | sed 's|^\./||' | grep -vxF -f <(installed_files) |
    grep -vx uninstall.exe || true)
  t=$SECONDS
  timeout 300 wine "$(entry_value "$root" UninstallString | sed 's/^"\([^"]*\)".*/\1/')" \
    "/$mode" /S || fail "$mode: the uninstaller failed"
  # The uninstaller runs on from a copy of itself: wait for the prefix to go quiet.
  wineserver -w
  took=$((SECONDS - t))
  [ -z "$(entry_value "$root" InstallLocation)" ] || fail "$mode: the uninstall entry stayed"
  [ ! -e "$link" ] || fail "$mode: the Start-menu entry stayed"
  local left=""
  [ ! -d "$unix" ] || left=$(cd "$unix" && find . -type f | sed 's|^\./||' | sort)
  [ "$left" = "$(printf '%s' "$made" | sort)" ] ||
    fail "$mode: after uninstall the folder holds [$left], not only [$made]"
  echo "windows installer: $mode: uninstalled in $took s; left: ${made:-nothing, folder removed}"
  [ -n "$made" ] || [ ! -d "$unix" ] || fail "$mode: the empty install folder stayed"
  [ ! -d "$unix" ] || rm -rf "$unix"
}

user=$(wine cmd /c 'echo %USERNAME%' 2>/dev/null | tr -d '\r')
check_mode CurrentUser HKCU 'AppData\Local\Programs\Relcon4' \
  "users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
check_mode AllUsers HKLM 'Program Files\Relcon4' "ProgramData/Microsoft/Windows/Start Menu/Programs"
echo "windows installer: per user and per machine installed, tried and uninstalled in $((SECONDS - start)) s"
