# Sourced: the Wine prefix of the build (Windows XP, no optional installers)
# and one persistent wineserver for everything that runs in it.
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$top/build}
export WINEPREFIX=$build/wineprefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/.ready" ]; then
  rm -rf "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 </dev/null
  wine reg add 'HKCU\Software\Wine' /v Version /d winxp /f >/dev/null 2>&1 </dev/null
  # Xvfb has no window manager: unmanaged windows spare Wine its waits for one.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
  wineserver -w
  touch "$WINEPREFIX/.ready"
fi

wine_start() {
  wineserver -p </dev/null >/dev/null 2>&1
  wine cmd /c exit </dev/null >/dev/null 2>&1
}

wine_stop() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
}
