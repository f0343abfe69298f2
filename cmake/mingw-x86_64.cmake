# 64-bit Windows cross-build with Debian's mingw-w64 (posix threading variant).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(QV_MINGW_TRIPLETA x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-comun.cmake)

# The engine runs under wine, with a prefix of its own in the build tree, no debug output and
# no offer to install Mono or Gecko. One wine server kept up for a whole test run spares its
# start-up on every engine start (one left up by an interrupted run is used as it is); the
# prefix is made before the first test needs it. Their output goes to /dev/null, since the
# processes they leave behind would otherwise hold the test's output open.
find_program(QV_WINE wine)
find_program(QV_WINESERVER wineserver)
find_program(QV_WINEBOOT wineboot)
if(QV_WINE AND QV_WINESERVER AND QV_WINEBOOT)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QV_WINE})
  set(prefijo ${CMAKE_BINARY_DIR}/wine)
  set(QV_EMULADOR_ENTORNO WINEPREFIX=${prefijo} WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=)
  set(arranque "mkdir -p ${prefijo}"
               "(${QV_WINESERVER} -p >/dev/null 2>&1 || true)"
               "${QV_WINEBOOT} -i >/dev/null 2>&1")
  list(JOIN arranque " && " arranque)
  set(QV_EMULADOR_ARRANQUE sh -c "${arranque}")
  set(QV_EMULADOR_PARADA ${QV_WINESERVER} -k)
endif()
