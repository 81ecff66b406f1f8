# Linux: the real program on SDL2 (X11) and FluidSynth, with the POSIX clock,
# trace file and standard streams (posix/). It is the host build: it draws the glyph atlas and makes
# the data kit that every build takes, and the tools that run where they are
# built.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11)
pkg_check_modules(FLUIDSYNTH REQUIRED IMPORTED_TARGET fluidsynth)
set(VEDO_PLATFORM_DIRS sdl posix)
set(VEDO_PLATFORM_LIBRARIES PkgConfig::SDL2 PkgConfig::X11 PkgConfig::FLUIDSYNTH)
set(VEDO_HOST_BUILD ON)
