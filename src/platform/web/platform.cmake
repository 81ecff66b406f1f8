# The browser: WebAssembly made by Emscripten (emcmake), on one thread, with
# the POSIX clock, trace file and standard streams (posix/). The page's program and the replay tool for
# Node are made in web/, without the other tools and the tests.
set(VEDO_PLATFORM_DIRS web posix)
set(VEDO_THREADS OFF)
set(VEDO_PROGRAM_DIR ${CMAKE_SOURCE_DIR}/web)
