# setuvane_sources(VAR FOLDER)
# Every FOLDER/*.cpp of this build into VAR: files named *_win32.cpp join only the
# Windows build and *_posix.cpp only the native one, so each folder keeps its
# portable logic and its thin platform code side by side.
function(setuvane_sources var folder)
  file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp)
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "_posix\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "_win32\\.cpp$")
  endif()
  set(${var} ${sources} PARENT_SCOPE)
endfunction()

# setuvane_layer(TARGET FOLDER [LIBS lib...])
# A static library of the folder's sources for this build (setuvane_sources).
function(setuvane_layer target folder)
  cmake_parse_arguments(L "" "" "LIBS" ${ARGN})
  setuvane_sources(sources ${folder})
  add_library(${target} STATIC ${sources})
  target_link_libraries(${target} PUBLIC ${L_LIBS})
endfunction()

# setuvane_speed_critical(SOURCE...)
# Sources of the calling folder whose loops set the installation's pace (decoders,
# checksums, the output of entries): compiled for speed where the installer's own
# build optimises the rest for size (cmake/toolchain-i686-w64-mingw32-installer.cmake).
function(setuvane_speed_critical)
  if(SETUVANE_INSTALLER_ONLY)
    list(TRANSFORM ARGN PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
    set_source_files_properties(${ARGN} PROPERTIES COMPILE_OPTIONS -O3)
  endif()
endfunction()
