# Cross-build for 64-bit Windows with MinGW-w64 (Debian g++-mingw-w64-x86-64-posix):
#   cmake -S . -B build-windows --toolchain cmake/mingw-w64-x86_64.cmake
# The programs are linked statically, so each .exe runs on its own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(veg_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${veg_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${veg_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${veg_mingw}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${veg_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Wine runs the built programs, when it is there (tests and try-runs).
find_program(veg_wine NAMES wine64 wine)
if(veg_wine)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${veg_wine})
endif()
