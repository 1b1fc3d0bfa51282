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
  # Written once and whole: the tests that run alone source this side by side.
  mkdir -p "$build/winebin"
  for nome in wine wine-stable wineserver; do
    [ -x "$build/winebin/$nome" ] && continue
    programma=/usr/lib/wine/wine64
    [ "$nome" = wineserver ] && programma=/usr/lib/wine/wineserver64
    printf '#!/bin/sh\nexec %s "$@"\n' "$programma" >"$build/winebin/$nome.$$"
    chmod +x "$build/winebin/$nome.$$"
    mv -f "$build/winebin/$nome.$$" "$build/winebin/$nome"
  done
  export PATH=$build/winebin:$PATH WINELOADER=/usr/lib/wine/wine64 WINEARCH=win64
fi
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The prefix as booted, never run in: the tests that run alone start from a
# copy of it, and so does the build's own prefix.
wine_base=$build/wineprefix-base

# A prefix of its own from the booted one <$1> at <$2>. Wine's libraries and
# programs are only read: linked, not copied (hundreds of MB); the registry
# and every other file are copied.
wine_copy() {
  rm -rf "$2"
  cp -al "$1" "$2" || return 1
  find "$2" -type f -links +1 ! \( -path "$2/drive_c/windows/*" -size +64k \) -exec sh -c '
    for f; do cp -p "$f" "$f.copia" && mv -f "$f.copia" "$f" || exit 1; done' _ {} +
}

if [ ! -f "$wine_base/.ready" ] || [ ! -f "$WINEPREFIX/.ready" ]; then
  rm -rf "$WINEPREFIX" "$wine_base"
  # A prefix whose start failed is made anew next time, never marked ready.
  WINEPREFIX=$wine_base wineboot -i >/dev/null 2>&1 </dev/null || return 1
  WINEPREFIX=$wine_base wine reg add 'HKCU\Software\Wine' /v Version /d winxp /f >/dev/null 2>&1 </dev/null
  # Xvfb has no window manager: unmanaged windows spare Wine its waits for one.
  WINEPREFIX=$wine_base wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
  WINEPREFIX=$wine_base wineserver -w
  touch "$wine_base/.ready"
  wine_copy "$wine_base" "$WINEPREFIX" || return 1
fi

wine_start() {
  wineserver -p </dev/null >/dev/null 2>&1
  wine cmd /c exit </dev/null >/dev/null 2>&1
}

wine_stop() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
}
