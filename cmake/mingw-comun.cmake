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

find_program(QV_WINE64 wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(QV_WINESERVER wineserver)

# The engines run under wine through the given loader, in one prefix beside the build trees that
# both Windows builds share, with no debug output, no offer to install Mono or Gecko and no
# browser registered. A 32-bit program that binfmt_misc hands to qemu-i386 gets the 4 GB of a
# large-address-aware process: less does not hold wine. One wine server kept up for a whole test
# run spares its start-up on every engine start (one left up by an interrupted run is used as it
# is). The prefix is made by the 64-bit loader, which makes its 32-bit part through the 32-bit
# one, before the first test needs it; a prefix without the file QV_WINE_REQUIERE is made anew.
# Their output goes to /dev/null, since the processes they leave behind would otherwise hold the
# test's output open. QV_WINE_ENTORNO adds to the engines' environment.
macro(qv_emular_con_wine cargador)
  if(${cargador} AND QV_WINE64 AND QV_WINESERVER)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${${cargador}})
    get_filename_component(prefijo ${CMAKE_BINARY_DIR}/../wine ABSOLUTE)
    set(QV_EMULADOR_ENTORNO WINEPREFIX=${prefijo} WINEDEBUG=-all
                            WINEDLLOVERRIDES=mscoree,mshtml,iexplore.exe=
                            QEMU_RESERVED_VA=0xffff0000 ${QV_WINE_ENTORNO})
    set(arranque "mkdir -p '${prefijo}'"
                 "(${QV_WINESERVER} -p >/dev/null 2>&1 || true)"
                 "${QV_WINE64} wineboot -i >/dev/null 2>&1")
    if(QV_WINE_REQUIERE)
      list(INSERT arranque 0 "([ -e '${prefijo}/${QV_WINE_REQUIERE}' ] || rm -rf '${prefijo}')")
    endif()
    list(JOIN arranque " && " arranque)
    set(QV_EMULADOR_ARRANQUE sh -c "${arranque}")
    set(QV_EMULADOR_PARADA ${QV_WINESERVER} -k)
  endif()
endmacro()
