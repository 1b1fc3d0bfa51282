#!/usr/bin/env bash
# Fails, naming the file, the line and the header, when a source of core/
# includes a header of a subsystem above it: core links only the platform
# layer, so such an include would bring the library cycles back.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
sopra='gamerun|savegames|input|media|patcher|eventlogger|displaymodes'

esito=0
while IFS=: read -r file riga testo; do
  [ -n "$file" ] || continue
  intestazione=$(sed -E 's/^[^"<]*["<]([^">]*).*/\1/' <<<"$testo")
  echo "check-layers: ${file#"$top"/}:$riga includes $intestazione, which is above the core" >&2
  esito=1
done < <(find "$top/core" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z |
         xargs -0 grep -nHE "^[[:space:]]*#[[:space:]]*include[[:space:]]*[\"<]($sopra)/" || true)
[ $esito -eq 0 ] && echo "check-layers: core includes nothing above it"
exit $esito
