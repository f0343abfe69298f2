# 64-bit Windows cross-build with Debian's mingw-w64 (posix threading variant).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(QV_MINGW_TRIPLETA x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-comun.cmake)

