# The language packs every release ships, read from the game's own list
# (kShippedLanguages in src/lang/language.h): VEDO_SHIPPED_LANGUAGES holds
# their folders, VEDO_LANGUAGE_NAME_<folder> the name each language calls
# itself, and ${CMAKE_BINARY_DIR}/languages.txt both, a folder and a tab and
# the name a line, for the scripts that package a release.
set(VEDO_LANGUAGE_LIST ${PROJECT_SOURCE_DIR}/src/lang/language.h)
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${VEDO_LANGUAGE_LIST})
file(READ ${VEDO_LANGUAGE_LIST} list_source)
string(REGEX MATCH "kShippedLanguages\\[\\] = {[^;]*};" list_block "${list_source}")
string(REGEX MATCHALL "{\"[a-z][a-z0-9-]*\", \"[^\"]+\"}" list_entries "${list_block}")
if(NOT list_entries)
  message(FATAL_ERROR "no shipped language found in ${VEDO_LANGUAGE_LIST}")
endif()
set(VEDO_SHIPPED_LANGUAGES)
set(list_lines "")
foreach(entry IN LISTS list_entries)
  string(REGEX REPLACE "{\"([^\"]+)\", \"([^\"]+)\"}" "\\1" folder "${entry}")
  string(REGEX REPLACE "{\"([^\"]+)\", \"([^\"]+)\"}" "\\2" name "${entry}")
  list(APPEND VEDO_SHIPPED_LANGUAGES ${folder})
  set(VEDO_LANGUAGE_NAME_${folder} "${name}")
  string(APPEND list_lines "${folder}\t${name}\n")
endforeach()
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/languages.txt CONTENT "${list_lines}" @ONLY)
