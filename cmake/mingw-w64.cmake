# Cross-compiles for 64-bit Windows with Debian's mingw-w64 toolchain
# (g++-mingw-w64-x86-64, binutils-mingw-w64-x86-64, mingw-w64-x86-64-dev).
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
#         -DGLUT_INCLUDE_DIR=<dir holding GL/glut.h> \
#         -DGLUT_glut_LIBRARY_RELEASE=<import library of freeglut.dll>
#
# scripts/windows-build.sh stages both and runs this for you.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZRU_MINGW_PREFIX x86_64-w64-mingw32 CACHE STRING "Target triplet of the mingw-w64 toolchain")

set(CMAKE_C_COMPILER ${ZRU_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${ZRU_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${ZRU_MINGW_PREFIX}-windres)

# Libraries and headers come from the mingw sysroot (opengl32, glu32) or from
# paths given explicitly; programs run on the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${ZRU_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The build machine's pkg-config would describe its own freeglut, not the
# Windows one.
set(PKG_CONFIG_EXECUTABLE "" CACHE FILEPATH "No pkg-config for the Windows target")

# The C and C++ runtimes linked in statically, so that petalDemo.exe needs no
# mingw DLL beside it: only freeglut.dll and the system's opengl32/glu32.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
