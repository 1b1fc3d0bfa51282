#!/usr/bin/env bash
# Shows that check-layers.sh catches what it guards: a small tree in a
# temporary folder passes, and each copy of it with one planted violation
# fails with a line that names it.
set -euo pipefail
controllo="$(cd "$(dirname "$0")" && pwd)/check-layers.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Every folder of the table with a library, a header and a source that
# includes its own header and one of the folder below it.
base=$tmp/base
mkdir -p "$base/cmake" "$base/scripts" "$base/tests/support" "$base/tools/gamesim" "$base/platform/tonvell"
sotto=
for c in platform core displaymodes eventlogger runservices savegames patcher media input gamerun; do
  mkdir -p "$base/$c"
  echo "#pragma once" >"$base/$c/${c^}.h"
  {
    echo "#include \"$c/${c^}.h\""
    echo '#include <windows.h>'
    echo '#include "Locale.h"'
    [ -z "$sotto" ] || echo "#include \"$sotto/${sotto^}.h\""
  } >"$base/$c/${c^}.cpp"
  echo "#pragma once" >"$base/$c/Locale.h"
  echo "ludovane_library($c LIBS ${sotto:-} kernel32)" >"$base/$c/CMakeLists.txt"
  case $c in displaymodes | eventlogger | savegames | patcher) ;; *) sotto=$c ;; esac
done
sed -i 's/LIBS media/LIBS media savegames patcher/' "$base/gamerun/CMakeLists.txt"
printf 'add_executable(Ludovane WIN32 Ludovane.cpp)\ntarget_link_libraries(Ludovane PRIVATE gamerun input\n  media core)\n' \
  >>"$base/gamerun/CMakeLists.txt"
printf 'add_library(Tonvell SHARED Tonvell.cpp)\ntarget_link_libraries(Tonvell PRIVATE winmm)\n' \
  >"$base/platform/tonvell/CMakeLists.txt"
echo '#include "../Platform.h"' >"$base/platform/tonvell/Tonvell.cpp"
printf 'function(f name)\n  target_link_libraries(${name} PUBLIC ${ARG_LIBS})\nendfunction()\n' >"$base/CMakeLists.txt"
echo 'add_library(testsupport STATIC TestFolders.cpp)' >"$base/tests/support/CMakeLists.txt"
echo '#include "gamerun/Gamerun.h"' >"$base/tests/support/TestFolders.cpp"
echo 'add_executable(GameSim GameSim.cpp)' >"$base/tools/gamesim/CMakeLists.txt"
mkdir -p "$base/build/core"
touch "$base/build/CMakeCache.txt"
echo '#include "gamerun/Gamerun.h"' >"$base/build/core/Generated.cpp"

# name | what is planted (run in the copy of the tree) | what the check must say
casi=(
  'include of a folder above|echo "#include \"media/Media.h\"" >>core/Core.cpp|core/Core.cpp:5 includes media/Media.h, of media, which is not below core'
  'include in angle brackets|echo "#include <gamerun/Gamerun.h>" >>core/Core.cpp|core/Core.cpp:5 includes gamerun/Gamerun.h, of gamerun'
  'relative include|echo "#include \"../media/Media.h\"" >>core/Core.cpp|core/Core.cpp:5 includes ../media/Media.h, of media'
  'relative include from a subfolder|echo "#include \"../../core/Core.h\"" >>platform/tonvell/Tonvell.cpp|platform/tonvell/Tonvell.cpp:2 includes ../../core/Core.h, of core'
  'include through a detour|echo "#include \"../core/../input/Input.h\"" >>media/Media.cpp|media/Media.cpp:5 includes ../core/../input/Input.h, of input'
  'include of a peer performer|echo "#include \"savegames/Savegames.h\"" >>media/Media.cpp|media/Media.cpp:5 includes savegames/Savegames.h, of savegames, which is not below media'
  'include through a link|ln -s ../gamerun core/alto && echo "#include \"alto/Gamerun.h\"" >>core/Core.cpp|core/Core.cpp:5 includes alto/Gamerun.h, of gamerun'
  'include of the tests|echo "#include \"../tests/support/Folders.h\"" >>runservices/Runservices.cpp|runservices/Runservices.cpp:5 includes ../tests/support/Folders.h, of tests'
  'include of a folder out of the table|mkdir -p extra && echo "#pragma once" >extra/X.h && echo "#include \"extra/X.h\"" >>core/Core.cpp|core/Core.cpp:5 includes extra/X.h, of extra, which is in no layer of the table'
  'include out of the tree|echo "#include \"../../X.h\"" >>core/Core.cpp|core/Core.cpp:5 includes ../../X.h, outside the tree'
  'folder out of the table|mkdir -p widgets && echo "int x;" >widgets/W.cpp|folder widgets is in no layer of the table'
  'link in a library list|sed -i "s/LIBS platform/LIBS platform media/" core/CMakeLists.txt|core/CMakeLists.txt links media, of media, which is not below core'
  'link over lines in capitals|printf "TARGET_LINK_LIBRARIES( core\n  PRIVATE\n\tgamerun )\n" >>core/CMakeLists.txt|core/CMakeLists.txt links gamerun, of gamerun'
  'link of a program|printf "add_executable(Scrivane Scrivane.cpp)\ntarget_link_libraries(Scrivane PRIVATE eventlogger media)\n" >>eventlogger/CMakeLists.txt|eventlogger/CMakeLists.txt links media, of media'
  'link of a library of another name|echo "add_library(mediaextra STATIC X.cpp)" >>media/CMakeLists.txt && echo "target_link_libraries(runservices PUBLIC mediaextra)" >>runservices/CMakeLists.txt|runservices/CMakeLists.txt links mediaextra, of media'
  'link of every target of a folder|echo "link_libraries(input)" >>savegames/CMakeLists.txt|savegames/CMakeLists.txt links input, of input'
  'link in a subfolder|echo "target_link_libraries(Tonvell PRIVATE core)" >>platform/tonvell/CMakeLists.txt|platform/tonvell/CMakeLists.txt links core, of core'
  'link from another list|echo "target_link_libraries(core PUBLIC patcher)" >>gamerun/CMakeLists.txt|gamerun/CMakeLists.txt links patcher, of patcher, which is not below core'
  'link of the tests|echo "target_link_libraries(core PUBLIC testsupport)" >>core/CMakeLists.txt|core/CMakeLists.txt links testsupport, of tests'
  'link by a path|echo "target_link_libraries(core PUBLIC ../media/libmedia.a)" >>core/CMakeLists.txt|core/CMakeLists.txt links ../media/libmedia.a, of media'
  'link by a variable|echo "target_link_libraries(core PUBLIC \${ALTRE})" >>core/CMakeLists.txt|core/CMakeLists.txt links ${ALTRE}, which cannot be checked'
  'library linking itself|sed -i "s/LIBS platform/LIBS platform core/" core/CMakeLists.txt|core/CMakeLists.txt: core links itself'
)

esito=0
if uscita=$("$controllo" "$base" 2>&1); then
  echo "check-layers-selftest: ok: the clean tree passes"
else
  echo "check-layers-selftest: FAILED: the clean tree fails:" >&2
  echo "$uscita" >&2
  esito=1
fi
n=0
for caso in "${casi[@]}"; do
  IFS='|' read -r nome pianta atteso <<<"$caso"
  n=$((n + 1))
  copia=$tmp/caso$n
  cp -a "$base" "$copia"
  (cd "$copia" && eval "$pianta")
  if uscita=$("$controllo" "$copia" 2>&1); then
    echo "check-layers-selftest: FAILED: $nome: the check passes" >&2
    esito=1
  elif [[ $uscita != *"check-layers: $atteso"* ]]; then
    echo "check-layers-selftest: FAILED: $nome: expected \"$atteso\", got:" >&2
    echo "$uscita" >&2
    esito=1
  else
    echo "check-layers-selftest: ok: $nome"
  fi
done
exit $esito
