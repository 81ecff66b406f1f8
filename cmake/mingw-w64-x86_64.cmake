# Cross build for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64).
#
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#
# The -posix compilers: the -win32 ones have no std::thread or std::mutex.
# libgcc, libstdc++ and winpthread are linked statically, so the programs
# need only DLLs that ship with Windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VEDO_MINGW x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${VEDO_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VEDO_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${VEDO_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VEDO_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# The Windows platform (src/platform/win32).
set(VEDO_PLATFORM win32 CACHE STRING "The platform: a folder of src/platform")
