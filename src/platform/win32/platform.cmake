# Windows: a MinGW-w64 cross build (cmake/mingw-w64-x86_64.cmake) on the
# Windows API alone. It takes the native build's glyph atlas, data kit and
# icon, and runs its tests under Wine.

set(VEDO_PLATFORM_DIRS win32)
# Files through the wide API, with the UTF-16 conversions it takes.
set(VEDO_PLATFORM_FILES win32/files.cpp win32/utf16.cpp)
# Known DLLs alone: winmm and wtsapi32 are loaded from System32 at run time
# (win32/system_dll.h); shell32 and ole32 name the player's folders.
set(VEDO_PLATFORM_LIBRARIES gdi32 user32 shell32 ole32)
set(VEDO_PLATFORM_DEFINITIONS WIN32_LEAN_AND_MEAN NOMINMAX)
# MinGW's g++ gives every function named WinMain C linkage, so the game's own
# WinMain takes another name in this build.
set(VEDO_GAME_DEFINITIONS WinMain=VedoGameWinMain)

# Each test program runs under Wine, less the test files that cannot apply
# here, which ctest lists as skipped with what they need. (No semicolons in
# the reasons: they would split the list.)
set(VEDO_TEST_LAUNCHER env VEDO_WINDOWS_BUILD=${CMAKE_BINARY_DIR}
                       ${CMAKE_SOURCE_DIR}/tests/windows/wine_run.sh)
set(VEDO_TESTS_NOT_HERE
  platform/frame_trace_test.cpp "the process's /proc record and the POSIX clocks of the Linux trace"
  platform/sound/sound_output_test.cpp
  "the Linux sound output (SDL's dummy and disk drivers), while the Windows sound has its own checks"
  platform/sound/sequencer_test.cpp "FluidSynth and its soundfont, while Windows music goes to the MIDI output"
  audio/sound_test.cpp "SDL's dummy and disk sound drivers, while the Windows sound has its own checks"
  audio/midi_player_test.cpp "FluidSynth and its soundfont, while Windows music goes to the MIDI output")

enable_language(RC)
# A window program: Windows starts it at the real WinMain (win32/entry),
# which runs the program's own start, `main` under another name. Its
# resources (windres) are the manifest, the icon the native build drew from
# the data kit (content/) and the version.
function(vedo_platform_program target main_source)
  set(dir ${CMAKE_CURRENT_FUNCTION_LIST_DIR})
  set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
  add_library(vedo_win32_entry OBJECT ${dir}/entry/win_main.cpp)
  target_link_libraries(vedo_win32_entry PRIVATE vedo_platform)
  target_sources(${target} PRIVATE $<TARGET_OBJECTS:vedo_win32_entry>)
  set_source_files_properties(${main_source} PROPERTIES COMPILE_DEFINITIONS main=VedoProgramMain)
  target_link_libraries(${target} PRIVATE shell32)  # CommandLineToArgvW
  set(VEDO_WINDOWS_ICON ${CMAKE_BINARY_DIR}/windows/vedo-zeza1.ico)
  set(VEDO_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/vedo-zeza1.manifest)
  set(VEDO_VERSION_QUAD ${PROJECT_VERSION}.0)
  configure_file(${dir}/resources/vedo-zeza1.manifest.in ${VEDO_MANIFEST} @ONLY)
  configure_file(${dir}/resources/vedo-zeza1.rc.in ${CMAKE_CURRENT_BINARY_DIR}/vedo-zeza1.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/vedo-zeza1.rc)
  set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/vedo-zeza1.rc PROPERTIES
                              OBJECT_DEPENDS "${VEDO_WINDOWS_ICON};${VEDO_MANIFEST}")
  add_dependencies(${target} vedo-data)
  # What a present costs on a large screen (docs/measurements.md).
  add_executable(vedo-stretch-measure ${dir}/measure/stretch_measure.cpp)
  target_link_libraries(vedo-stretch-measure PRIVATE gdi32 user32)
endfunction()
