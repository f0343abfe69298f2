# 32-bit x86 Linux build with Debian's g++-multilib.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
# The x86 kernel headers serve 32-bit code too, but only Debian's unversioned g++-multilib, which
# conflicts with every cross-compiler, links them as <asm/...>; the build links them itself.
set(QV_ASM_M32 ${CMAKE_BINARY_DIR}/cabeceras_m32)
file(MAKE_DIRECTORY ${QV_ASM_M32})
file(CREATE_LINK /usr/include/x86_64-linux-gnu/asm ${QV_ASM_M32}/asm SYMBOLIC)
set(CMAKE_C_FLAGS_INIT "-m32 -idirafter ${QV_ASM_M32}")
set(CMAKE_CXX_FLAGS_INIT "-m32 -idirafter ${QV_ASM_M32}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-m32")
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)

# A kernel without 32-bit support (ia32 emulation off), or QV_SIN_32 (see scripts/ejecucion.sh),
# runs the programs under qemu-user; the choice is made again at every configuration.
execute_process(COMMAND ${CMAKE_CURRENT_LIST_DIR}/../scripts/ejecucion.sh modo32
                OUTPUT_VARIABLE modo OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT modo MATCHES "^(nativo|qemu|ninguno)$")
  message(FATAL_ERROR "scripts/ejecucion.sh modo32 answered '${modo}'")
endif()
set(emulador "")
if(NOT modo STREQUAL "nativo")
  find_program(QV_QEMU_I386 qemu-i386 REQUIRED)
  set(emulador ${QV_QEMU_I386})
endif()
set(QV_EMULADOR_M32 "${emulador}" CACHE STRING "Runs the 32-bit programs where the kernel cannot" FORCE)
if(QV_EMULADOR_M32)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QV_EMULADOR_M32})
else()
  set(QV_EJECUTABLE_AQUI TRUE)
endif()
