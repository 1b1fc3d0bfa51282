#!/usr/bin/env bash
# Fails, naming the file, the line and the header, when a source includes a
# header of a folder above its own, and, naming the list, when a target
# links one: every arrow points down, so that the linker never needs a
# library twice.
#   platform < core < displaymodes, eventlogger < runservices
#   < savegames, patcher, media < input < gamerun (control and the program)
# Of the performers only input reaches others (media's waits and the splash,
# the savegames it loads and saves), so no two performers form a circle.
# tools/ and tests/ may use every layer and are not checked; no layer
# reaches them. A folder of the tree that the table does not know fails, and
# so does a header or a library of one.
# An include is followed as the compiler finds it: a quoted one beside its
# own file first, then from the top folder, `..` and links resolved on disk.
# Every link list of every CMakeLists.txt is read, whatever its keywords and
# letter case; one whose libraries come from a variable cannot be checked
# and fails, but in the top list, whose functions get them from their
# callers' lists.
# Usage: check-layers.sh [tree]   (by default the tree of this script)
set -euo pipefail
top=$(cd -P "${1:-$(dirname "$0")/..}" && pwd)

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
# Above every layer, and folders without sources of the programs.
sopra='tests tools'
note="$cartelle $sopra cmake scripts"
contiene() { [[ " $1 " == *" $2 "* ]]; }

esito=0
errore() {
  echo "check-layers: $*" >&2
  esito=1
}

# Build trees (and hidden folders, which the glob skips) are not the tree's.
albero() { [ ! -f "$1/CMakeCache.txt" ] && [[ ${1##*/} != build && ${1##*/} != build-* ]]; }

for d in "$top"/*/; do
  d=${d%/}
  [ -d "$d" ] && albero "$d" || continue
  contiene "$note" "${d##*/}" || errore "folder ${d##*/} is in no layer of the table"
done

# <$1> without . and .. (a path that does not exist), or the real path of its
# folder on disk, in $percorso.
declare -A reali=()
risolvi() {
  local cartella=${1%/*} parte
  if [ -d "$cartella" ]; then
    [ -n "${reali[$cartella]+x}" ] || reali[$cartella]=$(cd -P "$cartella" && pwd)
    percorso=${reali[$cartella]}/${1##*/}
    return
  fi
  local -a pezzi parti=()
  IFS=/ read -ra pezzi <<<"$1"
  for parte in "${pezzi[@]}"; do
    case $parte in
      '' | .) ;;
      ..) [ ${#parti[@]} -eq 0 ] || unset 'parti[${#parti[@]}-1]' ;;
      *) parti+=("$parte") ;;
    esac
  done
  percorso=/$(IFS=/; echo "${parti[*]}")
}

# The folder of the tree that <$1> lies in, in $dove: "" when it lies
# outside the tree, "/" at its top.
cartella_di() {
  case $1 in
    "$top"/*/*) dove=${1#"$top"/}; dove=${dove%%/*} ;;
    "$top"/*) dove=/ ;;
    *) dove= ;;
  esac
}

# Where <$2> lies, for <$1>: "below", or why it is not.
giudica() {
  local cartella=$1 dove=$2
  if [ -z "$dove" ]; then giudizio='outside the tree'
  elif [ "$dove" = / ]; then giudizio='at the top of the tree, in no layer'
  elif contiene "${ammessi[$cartella]}" "$dove"; then giudizio=below
  elif contiene "$note" "$dove"; then giudizio="of $dove, which is not below $cartella"
  else giudizio="of $dove, which is in no layer of the table"
  fi
}

inclusione='^[[:space:]]*#[[:space:]]*include[[:space:]]*(["<])([^">]+)[">]'
for cartella in $cartelle; do
  [ -d "$top/$cartella" ] || continue
  while IFS=: read -r file riga testo; do
    [[ $testo =~ $inclusione ]] || continue
    dir=${file%/*}
    tipo=${BASH_REMATCH[1]}
    intestazione=${BASH_REMATCH[2]}
    primo=${intestazione%%/*}
    if [ "$tipo" = '"' ] && [ -f "$dir/$intestazione" ]; then
      trovato=$dir/$intestazione
    elif [ -f "$top/$intestazione" ]; then
      trovato=$top/$intestazione
    elif [ "$tipo" = '"' ] && [[ $intestazione == ./* || $intestazione == ../* ]]; then
      trovato=$dir/$intestazione
    elif [[ $intestazione == */* ]] && { [ -d "$top/$primo" ] || contiene "$note" "$primo" || [ "$primo" = .. ]; }; then
      trovato=$top/$intestazione
    else
      continue  # a header of the system
    fi
    risolvi "$trovato"
    cartella_di "$percorso"
    [ "$dove" = "$cartella" ] && continue
    giudica "$cartella" "$dove"
    [ "$giudizio" = below ] && continue
    errore "${file#"$top"/}:$riga includes $intestazione, $giudizio"
  done < <(find "$top/$cartella" -type f \( -name '*.c' -o -name '*.cc' -o -name '*.cpp' -o -name '*.cxx' \
             -o -name '*.h' -o -name '*.hh' -o -name '*.hpp' -o -name '*.hxx' -o -name '*.inl' -o -name '*.ipp' \
             -o -name '*.rc' \) -print0 | sort -z |
           xargs -0 -r grep -nHE '^[[:space:]]*#[[:space:]]*include' || true)
done

liste=()
while IFS= read -r -d '' lista; do
  albero "${lista%/*}" && liste+=("$lista")
done < <(find "$top" \( -name '.*' -o -name 'build' -o -name 'build-*' \) -prune -o -name CMakeLists.txt -print0 | sort -z)

# The commands of every CMakeLists.txt that name targets and links, one a
# line after the name of their list: comments dropped, lines joined, the
# command in lower case.
comandi=()
while IFS= read -r riga; do comandi+=("$riga"); done < <(awk '
  function emetti(lista, testo,   c, n, nome) {
    while (match(testo, /[A-Za-z0-9_]+ *\([^)]*\)/)) {
      c = substr(testo, RSTART, RLENGTH)
      testo = substr(testo, RSTART + RLENGTH)
      n = index(c, "(")
      nome = tolower(substr(c, 1, n - 1))
      sub(/ +$/, "", nome)
      if (nome ~ /^(add_library|add_executable|ludovane_library|target_link_libraries|link_libraries)$/)
        print lista "\t" nome " " substr(c, n + 1, length(c) - n - 1)
    }
  }
  FNR == 1 { if (NR > 1) emetti(lista, testo); lista = FILENAME; testo = "" }
  { sub(/#.*/, ""); gsub(/[\t\r]/, " "); testo = testo " " $0 }
  END { if (NR > 0) emetti(lista, testo) }' "${liste[@]}")

# Every target of the tree and its folder.
declare -A bersagli=()
for voce in "${comandi[@]}"; do
  lista=${voce%%$'\t'*}
  read -r comando nome resto <<<"${voce#*$'\t'}"
  [[ $comando =~ ^(add_library|add_executable|ludovane_library)$ ]] || continue
  cartella_di "$lista"
  [[ $nome == *'$'* ]] || bersagli[$nome]=$dove
done

for voce in "${comandi[@]}"; do
  lista=${voce%%$'\t'*}
  read -r comando argomenti <<<"${voce#*$'\t'}"
  cartella_di "$lista"
  proprietaria=$dove
  # The top list's functions link every target of the tree.
  [ "$proprietaria" = / ] && proprietaria=platform
  contiene "$cartelle" "$proprietaria" || continue
  nome_lista=${lista#"$top"/}
  read -ra voci <<<"$argomenti"
  bersaglio=
  librerie=()
  case $comando in
    ludovane_library)
      bersaglio=${voci[0]}
      in_libs=0
      for v in "${voci[@]:1}"; do
        case $v in LIBS) in_libs=1 ;; EXCLUDE) in_libs=0 ;; *) [ $in_libs = 1 ] && librerie+=("$v") ;; esac
      done ;;
    target_link_libraries) bersaglio=${voci[0]}; librerie=("${voci[@]:1}") ;;
    link_libraries) librerie=("${voci[@]}") ;;
    *) continue ;;
  esac
  cartella=$proprietaria
  if [ -n "$bersaglio" ] && [[ $bersaglio != *'$'* ]] && [ -n "${bersagli[$bersaglio]+x}" ]; then
    cartella=${bersagli[$bersaglio]}
    contiene "$cartelle" "$cartella" || continue
  fi
  for v in "${librerie[@]}"; do
    v=${v//\"/}
    case $v in
      PUBLIC | PRIVATE | INTERFACE | LINK_PUBLIC | LINK_PRIVATE | LINK_INTERFACE_LIBRARIES | debug | optimized | general | '') continue ;;
    esac
    if [[ $v == *'$'* ]]; then
      [ "$nome_lista" = CMakeLists.txt ] || errore "$nome_lista links $v, which cannot be checked"
      continue
    fi
    if [ "$v" = "$bersaglio" ]; then
      errore "$nome_lista: $bersaglio links itself"
      continue
    fi
    if [ -n "${bersagli[$v]+x}" ]; then
      dove_libreria=${bersagli[$v]}
    elif [[ $v == */* ]]; then
      if [[ $v == /* ]]; then risolvi "$v"; else risolvi "${lista%/*}/$v"; fi
      cartella_di "$percorso"
      dove_libreria=$dove
    else
      continue  # a library of the system
    fi
    [ "$dove_libreria" = "$cartella" ] && continue
    giudica "$cartella" "$dove_libreria"
    [ "$giudizio" = below ] && continue
    errore "$nome_lista links $v, $giudizio"
  done
done
[ $esito -eq 0 ] && echo "check-layers: every folder includes and links only the layers below it"
exit $esito
