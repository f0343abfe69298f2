# 64-bit Windows cross-build with Debian's mingw-w64 (posix threading variant).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(QV_MINGW_TRIPLETA x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-comun.cmake)
# The engine runs under wine's 64-bit loader itself: the launcher `wine` would start the 32-bit
# loader first, which a kernel without 32-bit programs cannot run.
qv_emular_con_wine(QV_WINE64)
