# 32-bit Windows cross-build with Debian's mingw-w64 (posix threading variant).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QV_MINGW_TRIPLETA i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-comun.cmake)
# Large-address aware: on a 64-bit Windows the process gets 4 GB of address space instead of 2,
# room for the largest hash table offered. A 64-bit image is large-address aware by default.
string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -Wl,--large-address-aware")
