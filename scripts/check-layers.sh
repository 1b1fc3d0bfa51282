#!/usr/bin/env bash
# Fails, naming the file, the line and the header, when a source includes a
# header of a folder above its own, and, naming the folder, when a library
# links one: every arrow points down, so that the linker never needs a
# library twice.
#   platform < core < displaymodes, eventlogger < runservices
#   < savegames, patcher, media < input < gamerun (control and the program)
# Of the performers only input reaches others (media's waits and the splash,
# the savegames it loads and saves), so no two performers form a circle.
# tools/ and tests/ may use every layer and are not checked.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

sotto_servizi='platform core displaymodes eventlogger'
servizi="$sotto_servizi runservices"
declare -A ammessi=(
  [platform]='platform'
  [core]='platform core'
  [displaymodes]='platform core displaymodes'
  [eventlogger]='platform core eventlogger'
  [runservices]="$servizi"
  [savegames]="$servizi savegames"
  [patcher]="$servizi patcher"
  [media]="$servizi media"
  [input]="$servizi media savegames input"
  [gamerun]="$servizi savegames patcher media input gamerun"
)
cartelle="${!ammessi[*]}"
contiene() { [[ " $1 " == *" $2 "* ]]; }

esito=0
for cartella in $cartelle; do
  [ -d "$top/$cartella" ] || continue
  while IFS=: read -r file riga testo; do
    [ -n "$file" ] || continue
    intestazione=$(sed -E 's/^[^"<]*["<]([^">]*).*/\1/' <<<"$testo")
    sopra=${intestazione%%/*}
    contiene "$cartelle" "$sopra" || continue
    contiene "${ammessi[$cartella]}" "$sopra" && continue
    echo "check-layers: ${file#"$top"/}:$riga includes $intestazione, which is not below $cartella" >&2
    esito=1
  done < <(find "$top/$cartella" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z |
           xargs -0 grep -nHE '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<][a-z]+/' || true)

  # The libraries each folder's library names after LIBS.
  lista="$top/$cartella/CMakeLists.txt"
  [ -f "$lista" ] || continue
  librerie=$(tr '\n' ' ' <"$lista" | grep -oE "ludovane_library\([^)]*\)" |
             sed -nE 's/.*[[:space:]]LIBS[[:space:]]+([^)]*)\)/\1/p' || true)
  for libreria in $librerie; do
    contiene "$cartelle" "$libreria" || continue
    [ "$libreria" != "$cartella" ] && contiene "${ammessi[$cartella]}" "$libreria" && continue
    echo "check-layers: $cartella/CMakeLists.txt links $libreria, which is not below $cartella" >&2
    esito=1
  done
done
[ $esito -eq 0 ] && echo "check-layers: every folder includes and links only the layers below it"
exit $esito
