# 32-bit Windows cross-build with Debian's mingw-w64 (posix threading variant).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QV_MINGW_TRIPLETA i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-comun.cmake)
# How this machine runs wine's 32-bit loader (scripts/ejecucion.sh): natively, under the whole
# end-to-end suite. Under qemu-i386, to which binfmt_misc hands it, an engine start takes a minute
# or more, so a fixed subset runs: one long session of the transcript of what every build must
# print alike (keys, a search, the largest table), and the benchmark; deadlines grow to match.
# Where neither can be, the end-to-end tests are registered as skipped, with the reason.
execute_process(COMMAND ${CMAKE_CURRENT_LIST_DIR}/../scripts/ejecucion.sh modo32
                OUTPUT_VARIABLE QV_MODO32 OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT QV_MODO32 MATCHES "^(nativo|qemu|ninguno)$")
  message(FATAL_ERROR "scripts/ejecucion.sh modo32 answered '${QV_MODO32}'")
endif()
if(QV_MODO32 STREQUAL "ninguno")
  execute_process(COMMAND ${CMAKE_CURRENT_LIST_DIR}/../scripts/ejecucion.sh motivo
                  OUTPUT_VARIABLE QV_E2E_OMITIDAS OUTPUT_STRIP_TRAILING_WHITESPACE)
else()
  if(QV_MODO32 STREQUAL "qemu")
    set(QV_WINE_ENTORNO QV_LENTITUD=20)
    set(QV_E2E_SOLO e2e_transcripciones=Transcripcion.claves e2e_consola=LineaDeOrdenes.Bench)
  endif()
  find_program(QV_WINE wine)
  set(QV_WINE_REQUIERE drive_c/windows/syswow64/kernel32.dll)
  qv_emular_con_wine(QV_WINE)
endif()
# Large-address aware: on a 64-bit Windows the process gets 4 GB of address space instead of 2,
# room for the largest hash table offered. A 64-bit image is large-address aware by default.
string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -Wl,--large-address-aware")
