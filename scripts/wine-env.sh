# Sourced by the run, test and bench scripts: a private Wine prefix, an X display and one
# wineserver kept alive for the whole run. quelbrin_env_stop ends only what was started here.
ROOT="${ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
BUILD_DIR="${QUELBRIN_BUILD_DIR:-$ROOT/build/mingw-cross}"
export WINEPREFIX="${QUELBRIN_WINEPREFIX:-$ROOT/build/wineprefix-test}"
export WINEDEBUG=-all
# No Mono or Gecko installer, no host browser; the test browser recorder stands in for iexplore.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winebrowser.exe=d;iexplore.exe=n"
export WINEARCH=win64
WINE_BIN="$(command -v wine64 || echo /usr/lib/wine/wine64)"
export PATH="/usr/lib/wine:$PATH"

QUELBRIN_STARTED_XVFB_PID=""
QUELBRIN_STARTED_WINESERVER=""
PREFIX_STAMP_VERSION=3

quelbrin_log() { echo "[env] $*" >&2; }

quelbrin_start_xvfb() {
  local n=90
  for _ in $(seq 50); do
    while [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -ac >/dev/null 2>&1 &
    QUELBRIN_STARTED_XVFB_PID=$!
    for _ in $(seq 100); do
      if [ -e "/tmp/.X11-unix/X${n}" ]; then export DISPLAY=":$n"; return 0; fi
      kill -0 "$QUELBRIN_STARTED_XVFB_PID" 2>/dev/null || break  # lost the display to another run
      sleep 0.05
    done
    kill "$QUELBRIN_STARTED_XVFB_PID" 2>/dev/null; wait "$QUELBRIN_STARTED_XVFB_PID" 2>/dev/null
    QUELBRIN_STARTED_XVFB_PID=""
    n=$((n + 1))
  done
  quelbrin_log "could not start Xvfb"; return 1
}

# Writes a UTF-16LE .reg file line by line (the registry editor reads that form with any Unix locale).
quelbrin_multi_sz_hex() {
  printf '%s\0\0' "$1" | iconv -f UTF-8 -t UTF-16LE | od -An -v -tx1 | tr -s ' \n' ',' | sed 's/^,//; s/,$//'
}

quelbrin_prepare_prefix() {
  local stamp="$WINEPREFIX/.quelbrin-prefix-v$PREFIX_STAMP_VERSION"
  [ -f "$stamp" ] && return 0
  quelbrin_log "creating the Wine prefix $WINEPREFIX (once)"
  rm -rf "$WINEPREFIX"; mkdir -p "$WINEPREFIX"
  "$WINE_BIN" wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  [ -f "$WINEPREFIX/system.reg" ] || { quelbrin_log "wineboot did not make the prefix"; return 1; }
  local fontlink; fontlink="$(quelbrin_multi_sz_hex 'wqy-microhei.ttc,WenQuanYi Micro Hei')"
  local reg="$WINEPREFIX/quelbrin.reg"
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\r\n"Audio"=""\r\n\r\n'
    printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\r\n'
    printf '"Tahoma"=hex(7):%s\r\n"MS Shell Dlg"=hex(7):%s\r\n"MS Shell Dlg 2"=hex(7):%s\r\n\r\n' "$fontlink" "$fontlink" "$fontlink"
    printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
    printf '"宋体"="WenQuanYi Micro Hei"\r\n"SimSun"="WenQuanYi Micro Hei"\r\n\r\n'
    printf '[HKEY_CLASSES_ROOT\\http\\shell\\open\\command]\r\n@="\\"C:\\\\windows\\\\system32\\\\iexplore.exe\\" \\"%%1\\""\r\n\r\n'
  } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$reg"
  "$WINE_BIN" regedit /S "$(winepath -w "$reg" 2>/dev/null || echo "Z:${reg//\//\\}")" >/dev/null 2>&1
  wineserver -w
  touch "$stamp"
}

# The browser recorder stands in for iexplore.exe, so no real browser ever starts here.
quelbrin_install_browser_recorder() {
  local recorder="$BUILD_DIR/bin/browser_recorder.exe"
  [ -f "$recorder" ] && cp "$recorder" "$WINEPREFIX/drive_c/windows/system32/iexplore.exe"
  return 0
}

quelbrin_env_start() {
  if [ -z "${DISPLAY:-}" ] || [ "${1:-}" = "--private-display" ]; then
    quelbrin_start_xvfb
    quelbrin_log "no display given: using a private Xvfb on $DISPLAY"
  fi
  quelbrin_prepare_prefix
  quelbrin_install_browser_recorder
  wineserver -p >/dev/null 2>&1 &
  QUELBRIN_STARTED_WINESERVER=1
  # Warm the server so the first test does not pay for it.
  "$WINE_BIN" cmd /c exit >/dev/null 2>&1 || true
}

quelbrin_env_stop() {
  if [ -n "$QUELBRIN_STARTED_WINESERVER" ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    QUELBRIN_STARTED_WINESERVER=""
  fi
  if [ -n "$QUELBRIN_STARTED_XVFB_PID" ]; then
    kill "$QUELBRIN_STARTED_XVFB_PID" 2>/dev/null || true
    wait "$QUELBRIN_STARTED_XVFB_PID" 2>/dev/null || true
    QUELBRIN_STARTED_XVFB_PID=""
  fi
}
