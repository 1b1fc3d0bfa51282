# The golden media.mcf and media.mpf of tests/core/golden as byte arrays in a
# generated GoldenFiles.h, so that a test holds the frozen bytes wherever it
# runs (under Wine too).
function(ludovane_golden target cartella)
  set(testo "// Generated from ${cartella}.\n#pragma once\n#include <string>\n")
  foreach(coppia "media.mcf;GoldenMcf" "media.mpf;GoldenMpf")
    list(GET coppia 0 file)
    list(GET coppia 1 nome)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${cartella}/${file})
    file(READ ${cartella}/${file} esadecimale HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," byte "${esadecimale}")
    string(APPEND testo "inline const char ${nome}Byte[] = {${byte}};\n"
           "inline std::string ${nome}() { return std::string(${nome}Byte, sizeof ${nome}Byte); }\n")
  endforeach()
  file(GENERATE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/golden/GoldenFiles.h CONTENT "${testo}")
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/golden)
endfunction()
