set(CMAKE_C_COMPILER ${QV_MINGW_TRIPLETA}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QV_MINGW_TRIPLETA}-g++-posix)
set(CMAKE_RC_COMPILER ${QV_MINGW_TRIPLETA}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QV_MINGW_TRIPLETA})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Static C, C++ and thread runtimes: the executable runs on a bare Windows machine.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The engines run under wine (the 32-bit one through the i386 wine beside the 64-bit one), with a
# prefix of their own in the build tree, no debug output and no offer to install Mono or Gecko.
# One wine server kept up for a whole test run spares its start-up on every engine start (one left
# up by an interrupted run is used as it is); the prefix is made before the first test needs it.
# Their output goes to /dev/null, since the processes they leave behind would otherwise hold the
# test's output open.
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
