#!/usr/bin/env bash
# Fails, naming the program and the function, when a deliverable imports a
# function that Windows XP lacks (the list: scripts/xp-missing-imports.txt).
# Wine exports everything, so only this check shows such a program.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
release=${1:-${BUILD_DIR:-$top/build}/release}
elenco=$top/scripts/xp-missing-imports.txt
objdump=i686-w64-mingw32-objdump

mapfile -t vietati < <(grep -v '^#' "$elenco" | grep -v '^[[:space:]]*$')
esito=0
for programma in Ludovane.exe Scrivane.exe Vistrelo.exe Tonvell.dll; do
  file=$release/$programma
  if [ ! -f "$file" ]; then
    echo "check-imports: $programma is missing from $release" >&2
    esito=1
    continue
  fi
  # "DLL function" for every import by name.
  importazioni=$("$objdump" -p "$file" | awk '
    /^[[:space:]]*DLL Name:/ { dll = tolower($3); next }
    /^[[:space:]]*$/ { next }
    dll != "" && /^\t[[:space:]]*[0-9a-f]+[[:space:]]+[0-9]+[[:space:]]+[^[:space:]]+$/ { print dll " " $NF }
    /^The Export Tables/ { dll = "" }')
  [ -n "$importazioni" ] || { echo "check-imports: no imports read from $programma" >&2; esito=1; continue; }
  while read -r dll funzione; do
    for voce in "${vietati[@]}"; do
      read -r dllVietata funzioneVietata <<<"$voce"
      # shellcheck disable=SC2053
      if [[ $dll == ${dllVietata,,} && $funzione == $funzioneVietata ]]; then
        echo "check-imports: $programma imports $dll!$funzione, which Windows XP lacks" >&2
        esito=1
      fi
    done
  done <<<"$importazioni"
done
[ $esito -eq 0 ] && echo "check-imports: the four programs load on Windows XP"
exit $esito
