# Sourced: the Wine prefix of the build (Windows XP, no optional installers)
# and one persistent wineserver for everything that runs in it.
source "$(dirname "${BASH_SOURCE[0]}")/wine-flavor.sh"
if [ "$wine_bits" = 32 ]; then
  build=${BUILD_DIR:-$top/build}
  export WINEARCH=win32
else
  build=$test_build
  # Debian's wine, wine-stable (which wineboot and winepath call) and
  # wineserver commands pick the 32-bit programs: these name the 64-bit ones.
  mkdir -p "$build/winebin"
  for nome in wine wine-stable wineserver; do
    programma=/usr/lib/wine/wine64
    [ "$nome" = wineserver ] && programma=/usr/lib/wine/wineserver64
    printf '#!/bin/sh\nexec %s "$@"\n' "$programma" >"$build/winebin/$nome"
    chmod +x "$build/winebin/$nome"
  done
  export PATH=$build/winebin:$PATH WINELOADER=/usr/lib/wine/wine64 WINEARCH=win64
fi
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/.ready" ]; then
  rm -rf "$WINEPREFIX"
  # A prefix whose start failed is made anew next time, never marked ready.
  wineboot -i >/dev/null 2>&1 </dev/null || return 1
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
