# 64-bit ARM Linux cross-build with Debian's g++-aarch64-linux-gnu. Linked statically, so that the
# engine runs on any ARM Linux whatever its C library, and under qemu-user without a sysroot.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(QV_QEMU_AARCH64 qemu-aarch64)
if(QV_QEMU_AARCH64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QV_QEMU_AARCH64})
endif()
