# Cross-build for 64-bit Windows with Debian's MinGW-w64 (the posix thread
# variant of GCC). Programs built here run under Wine, which is also the
# emulator ctest uses for them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ORINTHAL_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ORINTHAL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORINTHAL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ORINTHAL_MINGW_TRIPLE}-windres)
set(CMAKE_OBJDUMP ${ORINTHAL_MINGW_TRIPLE}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${ORINTHAL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program is linked fully static: a Windows system has no libstdc++,
# libgcc or libwinpthread DLLs, and a module that needs one does not start.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

find_program(ORINTHAL_WINE wine)
if(ORINTHAL_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ORINTHAL_WINE})
endif()
