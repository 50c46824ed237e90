# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix threads variant). The Windows
# headers and import libraries are the toolchain's own, not the Win32 stand-in.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_quarel_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_quarel_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_quarel_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${_quarel_mingw}-windres)
set(CMAKE_OBJDUMP ${_quarel_mingw}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${_quarel_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs of the build run under Wine's 64-bit loader, each test tree in a prefix of its own
# (WINEPREFIX, set by whoever runs them).
find_program(QUAREL_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(QUAREL_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QUAREL_WINE64})
endif()
